#pragma once

// Two export seams: PLUGINSDK_API marks what the host runtime library exports, and
// BAKKESMOD_PLUGIN_API marks the plugin base class, which is compiled into each plugin
// module and exported from it. Everyone else imports.
#if defined(_WIN32)
#define SDK_DLL_EXPORT __declspec(dllexport)
#define SDK_DLL_IMPORT __declspec(dllimport)
#else
#define SDK_DLL_EXPORT __attribute__((visibility("default")))
#define SDK_DLL_IMPORT __attribute__((visibility("default")))
#endif

#if defined(PLUGINSDK_BUILDING)
#define PLUGINSDK_API SDK_DLL_EXPORT
#else
#define PLUGINSDK_API SDK_DLL_IMPORT
#endif

#if defined(BAKKESMOD_PLUGIN_BUILDING)
#define BAKKESMOD_PLUGIN_API SDK_DLL_EXPORT
#else
#define BAKKESMOD_PLUGIN_API SDK_DLL_IMPORT
#endif
