#pragma once

#include <memory>
#include <string>
#include <vector>

#include "BakkesModPlugin.h"

// Measures how fast the ball leaves each strike in free play, announces every fast enough
// speed in the chat box and saves the speeds to "shots.csv" on request.
class Kickmark : public BakkesMod::Plugin::BakkesModPlugin {
public:
    void onLoad() override;
    void onUnload() override;

    void onEnabledChanged(std::string oldValue, CVarWrapper cvar);
    void resetMeasurements(std::vector<std::string> arguments);
    void saveMeasurements(std::vector<std::string> arguments);
    void onTick();

    std::shared_ptr<bool> enabled;
    std::shared_ptr<float> minSpeed;
    std::vector<float> measurements;
    // Squared horizontal ball speed of the previous sample; negative before the first.
    float lastHorizontalSpeedSq = -1.0f;

private:
    void recordSpeed(float speed);
};
