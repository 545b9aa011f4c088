#include "SpeedText.h"

#include "NumberText.h"

namespace kickmark {

std::string formatSpeed(float speed) {
    if (speed >= -0.01f && speed <= 0.01f)
        return "0.0000";
    std::string text;
    text::appendFixed(text, speed, 2);
    return text;
}

void appendFileLine(std::string& text, float speed) {
    text::appendFixed(text, speed, 6);
#if defined(_WIN32)
    text += "\r\n";
#else
    text += '\n';
#endif
}

} // namespace kickmark
