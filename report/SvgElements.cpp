#include "SvgElements.h"

#include "NumberFormat.h"
#include "VisibleText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace kickmark {

std::string coordinate(double value) {
    return formatFixed(value, 1);
}

std::string markupEscaped(std::string_view text) {
    std::string xml;
    for (const char c : text) {
        switch (c) {
        case '&':
            xml += "&amp;";
            break;
        case '<':
            xml += "&lt;";
            break;
        case '>':
            xml += "&gt;";
            break;
        case '"':
            xml += "&quot;";
            break;
        default:
            xml += c;
        }
    }
    return xml;
}

std::string escaped(std::string_view text) {
    return markupEscaped(text::visibleText(text));
}

std::string shortNumber(double value, double step) {
    if (std::fabs(value) >= 1e7) {
        std::array<char, 32> buffer{};
        const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                                std::chars_format::general, 3);
        return std::string(buffer.data(), error == std::errc{} ? end : buffer.data());
    }
    const int decimals = step < 1 ? static_cast<int>(std::ceil(-std::log10(step))) : 0;
    return formatFixed(value, std::clamp(decimals, 0, 6));
}

void writeText(std::ostream& out, double x, double y, std::string_view anchor,
               std::string_view xmlText, std::string_view extra) {
    out << "<text x=\"" << coordinate(x) << "\" y=\"" << coordinate(y) << "\" text-anchor=\""
        << anchor << '"' << extra << '>' << xmlText << "</text>\n";
}

void writeLine(std::ostream& out, double x1, double y1, double x2, double y2,
               std::string_view stroke, std::string_view extra) {
    out << "<line x1=\"" << coordinate(x1) << "\" y1=\"" << coordinate(y1) << "\" x2=\""
        << coordinate(x2) << "\" y2=\"" << coordinate(y2) << "\" stroke=\"" << stroke << '"'
        << extra << "/>\n";
}

std::string rotated(double degrees, double x, double y) {
    return " transform=\"rotate(" + formatFixed(degrees, 0) + ' ' + coordinate(x) + ' ' +
           coordinate(y) + ")\"";
}

} // namespace kickmark
