#pragma once

#include <string_view>

// All that kickmark-host knows of the plugin it hosts. The plugin names these itself
// (plugin/Console.h, plugin/MeasurementFile.cpp, plugin/ShotDetection.cpp, plugin/SpeedText.cpp,
// the module target): a change there is a change here, and nowhere else in the console.
namespace hostedPlugin {

// Loaded when no --plugin is given: NAME.so, or NAME.dll, beside the program.
inline constexpr std::string_view moduleName = "kickmark";
// Raised once for each game tick the console plays.
inline constexpr std::string_view tickEvent = "Function TAGame.Car_TA.SetVehicleInput";
// Set to 1 by the demo, so that the practice session is measured.
inline constexpr std::string_view enabledVariable = "kickmark";
// Promises to replace the shots file with every speed announced since the plugin was loaded
// or reset; the console checks that it did.
inline constexpr std::string_view saveCommand = "kickmark_save";
// Forgets the speeds measured so far.
inline constexpr std::string_view resetCommand = "kickmark_reset";
// What that command writes in the data folder: one speed a line, oldest first, each a 32-bit
// float written with a point as the decimal mark.
inline constexpr std::string_view shotsFile = "shots.csv";
// A chat line that announces a speed: "3 Shot speed: 2345.68", the speed rounded to the
// decimals shown; one within nearZero of zero is shown as nearZeroText.
inline constexpr std::string_view speedAnnouncement = " Shot speed: ";
inline constexpr float nearZero = 0.01f;
inline constexpr std::string_view nearZeroText = "0.0000";

} // namespace hostedPlugin
