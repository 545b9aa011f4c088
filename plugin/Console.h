#pragma once

// The names this plugin gives the host's console and the game event it listens to.
// kickmark-host knows some of them, and the file's name, by heart: host/console/HostedPlugin.h.
namespace kickmark {

inline constexpr const char* enabledVariable = "kickmark";
inline constexpr const char* minSpeedVariable = "kickmark_minspeed";
inline constexpr const char* resetCommand = "kickmark_reset";
inline constexpr const char* saveCommand = "kickmark_save";
inline constexpr const char* tickEvent = "Function TAGame.Car_TA.SetVehicleInput";
inline constexpr const char* chatLabel = "BAKKESMOD";

} // namespace kickmark
