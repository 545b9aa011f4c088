#include "SessionOracle.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>

#include "Console.h"
#include "Kickmark.h"
#include "NumberText.h"

namespace {

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The whole text as one finite number, or nothing.
std::optional<double> number(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool hasDecimals(std::string_view text, std::size_t count) {
    const auto point = text.find('.');
    return point != std::string_view::npos && text.size() - point - 1 == count;
}

// How far a printed number may lie from the float it shows: half its last decimal, plus the
// rounding of reading a huge number back as a double.
bool closeEnough(double shown, float speed, double halfLastDecimal) {
    return std::fabs(shown - speed) <= halfLastDecimal + std::fabs(speed) * 1e-15;
}

} // namespace

void require(bool holds, const char* rule) {
    if (holds)
        return;
    std::fprintf(stderr, "broken rule: %s\n", rule);
    std::abort();
}

SessionOracle::SessionOracle(pluginsdk::Host& host, std::filesystem::path shots)
    : host_(host), probe_(host), shots_(std::move(shots)) {}

void SessionOracle::restartNumbering() {
    announced_.clear();
}

float SessionOracle::minimumInForce() const {
    const auto variable = host_.variable(kickmark::minSpeedVariable);
    require(variable.has_value(), "the minimum speed variable exists while loaded");
    const auto value = kickmark::text::parseFloat(variable->value);
    require(value.has_value(), "the minimum speed variable holds a number");
    return *value;
}

void SessionOracle::checkNewChatLines() {
    const auto& chat = host_.chat();
    for (; chatSeen_ < chat.size(); ++chatSeen_) {
        require(host_.pluginLoaded(), "no chat line comes from an unloaded plugin");
        const auto& line = chat[chatSeen_];
        require(line.sender == kickmark::chatLabel, "every chat line carries the plugin's label");

        const auto& recorded = static_cast<Kickmark*>(probe_.plugin())->measurements;
        const auto count = announced_.size() + 1;
        require(recorded.size() >= count, "every announced speed is in the list");
        const std::string prefix = std::to_string(count) + " Shot speed: ";
        require(std::string_view(line.text).starts_with(prefix),
                "chat lines are numbered 1, 2, 3 ... from each load or reset");

        const float speed = recorded[count - 1];
        require(std::isfinite(speed), "every announced speed is finite");
        require(speed > minimumInForce(), "every announced speed exceeds the minimum in force");

        const auto shownText = std::string_view(line.text).substr(prefix.size());
        const auto shown = number(shownText);
        require(shown.has_value(), "the chat shows the speed as a plain number");
        if (shownText == "0.0000")
            require(std::fabs(speed) <= 0.01f, "only speeds within 0.01 of zero show as 0.0000");
        else
            require(hasDecimals(shownText, 2) && closeEnough(*shown, speed, 0.005),
                    "the chat shows the speed rounded to two decimals");
        announced_.push_back(speed);
    }
    if (host_.pluginLoaded())
        require(static_cast<Kickmark*>(probe_.plugin())->measurements.size() == announced_.size(),
                "the list holds exactly the announced speeds");
}

void SessionOracle::checkSavedFile() {
    const auto text = readFile(shots_);
    require(text.has_value(), "a save into a usable folder writes the file");
    require(text->empty() || text->back() == '\n', "every line of the file is complete");

    std::size_t lines = 0;
    std::string_view rest = *text;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        const auto line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        require(lines < announced_.size(), "the file holds no more lines than announced speeds");
        const auto value = number(line);
        require(value.has_value() && hasDecimals(line, 6),
                "each line of the file is one number with six decimals");
        require(closeEnough(*value, announced_[lines], 5e-7),
                "each line of the file reads back as the speed announced in its place");
        ++lines;
    }
    require(lines == announced_.size(), "the file holds every speed announced since the restart");
}

void SessionOracle::rememberFileAtUnload() {
    fileAtUnload_ = readFile(shots_);
}

void SessionOracle::checkNothingReachesTheUnloadedPlugin() {
    require(!host_.pluginLoaded() && probe_.plugin() == nullptr, "an unloaded plugin is gone");
    require(!host_.variable(kickmark::enabledVariable) &&
                !host_.variable(kickmark::minSpeedVariable),
            "the console forgets the plugin's variables at unload");
    require(!host_.command(kickmark::resetCommand) && !host_.command(kickmark::saveCommand),
            "the console forgets the plugin's commands at unload");
    require(probe_.hookCount(kickmark::tickEvent) == 0, "the game forgets the plugin's hooks");
    require(readFile(shots_) == fileAtUnload_, "nothing writes the file after unload");
    checkNewChatLines();
}
