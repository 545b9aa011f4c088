#include "Kickmark.h"

#include "Console.h"

// Every entry point the host can reach catches everything: the host is built apart from this
// module, and an exception that leaves it ends the game. What onLoad registered before a
// failure stays registered: the module removes nothing, at any time (see onUnload).
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

// Unhooks and unregisters nothing. Whether the host removes the plugin's hook and handlers when
// it unloads it is the host's matter, not a promise this module can keep: the stand-in host
// does, and its tests check that nothing reaches an unloaded plugin.
void Kickmark::onUnload() {}

// Each call that reads on hooks and each that reads off unhooks, hooked already or not. The
// stand-in host calls this only after a change of value, so there a repeated "on" adds no
// second hook; a host that called it on every setting would hook twice, and so would any host
// after a second onLoad, which attaches a second handler.
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
