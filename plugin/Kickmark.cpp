#include "Kickmark.h"

#include "Console.h"

void Kickmark::onLoad() {
    enabled = std::make_shared<bool>(false);
    minSpeed = std::make_shared<float>(1000.0f);

    cvarManager
        ->registerCvar(kickmark::enabledVariable, "0", "Turns on the measurement.", true, true,
                       0.0f, true, 1.0f, false)
        .bindTo(enabled);
    cvarManager->getCvar(kickmark::enabledVariable)
        .addOnValueChanged([this](std::string oldValue, CVarWrapper cvar) {
            onEnabledChanged(std::move(oldValue), cvar);
        });

    cvarManager
        ->registerCvar(kickmark::minSpeedVariable, "1000",
                       "The minimum speed that is needed to trigger a log.", true, true, 0.0f, true,
                       6000.0f, false)
        .bindTo(minSpeed);

    cvarManager->registerNotifier(
        kickmark::resetCommand,
        [this](std::vector<std::string> arguments) { resetMeasurements(std::move(arguments)); },
        "Reset the measurements.", 0);
    cvarManager->registerNotifier(
        kickmark::saveCommand,
        [this](std::vector<std::string> arguments) { saveMeasurements(std::move(arguments)); },
        "Save the measurements to BakkesModFolder/data/shots.csv", 0);
}

// The host removes what the plugin registered when it unloads it.
void Kickmark::onUnload() {}

// Deliberately stateless: every change to on hooks again and every change to off unhooks,
// so the plugin never disagrees with the host about whether it is hooked.
void Kickmark::onEnabledChanged(std::string, CVarWrapper cvar) {
    if (cvar.getBoolValue())
        gameWrapper->HookEvent(kickmark::tickEvent, [this](std::string) { onTick(); });
    else
        gameWrapper->UnhookEvent(kickmark::tickEvent);
}

// The previous sample stays: the first strike after a reset is judged against it.
void Kickmark::resetMeasurements(std::vector<std::string>) {
    measurements.clear();
}
