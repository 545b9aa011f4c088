#pragma once

#include <string_view>

// All that kickmark-host knows of the plugin it hosts. The plugin names these itself
// (plugin/Console.h, plugin/MeasurementFile.cpp, the module target): a rename there is a
// rename here, and nowhere else in the console.
namespace hostedPlugin {

// Loaded when no --plugin is given: NAME.so, or NAME.dll, beside the program.
inline constexpr std::string_view moduleName = "kickmark";
// Raised once for each game tick the console plays.
inline constexpr std::string_view tickEvent = "Function TAGame.Car_TA.SetVehicleInput";
// Set to 1 by the demo, so that the practice session is measured.
inline constexpr std::string_view enabledVariable = "kickmark";
// Promises to replace the shots file; the console checks that it did.
inline constexpr std::string_view saveCommand = "kickmark_save";
// What that command writes in the data folder.
inline constexpr std::string_view shotsFile = "shots.csv";

} // namespace hostedPlugin
