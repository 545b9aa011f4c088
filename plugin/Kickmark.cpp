#include "Kickmark.h"

#include "Console.h"

// Every entry point the host can reach catches everything: the host is built apart from this
// module, and an exception that leaves it ends the game. What onLoad registered before a
// failure stays registered; the host removes it when it unloads the plugin.
void Kickmark::onLoad() {
    try {
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
                           "The minimum speed that is needed to trigger a log.", true, true, 0.0f,
                           true, 6000.0f, false)
            .bindTo(minSpeed);

        cvarManager->registerNotifier(
            kickmark::resetCommand,
            [this](std::vector<std::string> arguments) { resetMeasurements(std::move(arguments)); },
            "Reset the measurements.", 0);
        cvarManager->registerNotifier(
            kickmark::saveCommand,
            [this](std::vector<std::string> arguments) { saveMeasurements(std::move(arguments)); },
            "Save the measurements to BakkesModFolder/data/shots.csv", 0);
    } catch (...) {
    }
}

// The host removes what the plugin registered when it unloads it.
void Kickmark::onUnload() {}

// Every change to on hooks and every change to off unhooks, so the plugin never disagrees with
// the host about whether it is hooked. A host runs this after a change of value only, so "on"
// while on adds no second hook.
void Kickmark::onEnabledChanged(std::string, CVarWrapper cvar) {
    try {
        if (cvar.getBoolValue())
            gameWrapper->HookEvent(kickmark::tickEvent, [this](std::string) { onTick(); });
        else
            gameWrapper->UnhookEvent(kickmark::tickEvent);
    } catch (...) {
    }
}

// The previous sample stays: the first strike after a reset is judged against it.
void Kickmark::resetMeasurements(std::vector<std::string>) {
    measurements.clear();
}
