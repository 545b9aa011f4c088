#include <charconv>
#include <cmath>

#include "Console.h"
#include "Kickmark.h"
#include "SpeedText.h"

// Runs on every game tick while measuring is on: keep the path that records nothing free of
// allocations and text.
void Kickmark::onTick() {
    // The host's queries are not ours to trust: nothing they throw may leave the module.
    try {
        if (!*enabled)
            return;
        if (!gameWrapper->IsInFreeplay())
            return;
        ServerWrapper server = gameWrapper->GetGameEventAsServer();
        if (server.IsNull())
            return;
        BallWrapper ball = server.GetBall();
        if (ball.IsNull())
            return;
        const Vector velocity = ball.GetOldRBState().LinearVelocity;

        const float horizontalSq = velocity.X * velocity.X + velocity.Y * velocity.Y;
        const float previous = lastHorizontalSpeedSq;
        // A strike is a rise of the horizontal speed; NaN on either side compares false.
        if (previous >= 0.0f && horizontalSq > previous) {
            const float speed = std::sqrt(velocity.Z * velocity.Z + horizontalSq);
            // An infinite speed is a broken sample, not a measurement.
            if (speed > *minSpeed && std::isfinite(speed))
                recordSpeed(speed);
        }
        lastHorizontalSpeedSq = horizontalSq;
    } catch (...) {
    }
}

void Kickmark::recordSpeed(float speed) {
    // Out of memory must not take the host down; the speed is kept whenever the list could
    // hold it, even if the announcement fails.
    try {
        measurements.push_back(speed);
        char count[24];
        auto end = std::to_chars(count, count + sizeof count, measurements.size()).ptr;
        std::string message(count, end);
        message += " Shot speed: ";
        message += kickmark::formatSpeed(speed);
        gameWrapper->LogToChatbox(std::move(message), kickmark::chatLabel);
    } catch (...) {
    }
}
