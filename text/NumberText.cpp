#include "NumberText.h"

#include <charconv>
#include <stdexcept>
#include <system_error>

namespace kickmark::text {

namespace {

// The longest finite double has 309 integer digits; the rest leaves room for a sign, the point
// and the decimals that anybody shows.
constexpr std::size_t fixedRoom = 512;
// The shortest form of any float or double fits with room to spare.
constexpr std::size_t shortestRoom = 64;

template <typename T> std::string shortest(T value) {
    char buffer[shortestRoom];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc{})
        throw std::length_error("number text longer than its buffer");
    return std::string(buffer, end);
}

template <typename T> std::optional<T> parse(std::string_view text) {
    // from_chars takes no '+', and "+-5" must stay refused.
    if (text.starts_with('+') && !text.starts_with("+-"))
        text.remove_prefix(1);
    T value{};
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

void appendFixed(std::string& text, double value, int decimals) {
    char buffer[fixedRoom];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc{})
        throw std::length_error("fixed number text longer than its buffer");
    text.append(buffer, end);
}

std::string shortestText(float value) {
    return shortest(value);
}
std::string shortestText(double value) {
    return shortest(value);
}

std::optional<float> parseFloat(std::string_view text) {
    return parse<float>(text);
}
std::optional<double> parseDouble(std::string_view text) {
    return parse<double>(text);
}

std::optional<unsigned long long> parseWhole(std::string_view text) {
    unsigned long long value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end)
        return std::nullopt;
    return value;
}

} // namespace kickmark::text
