#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace kickmark {

// Maps a value from [domainLow, domainHigh] onto [rangeLow, rangeHigh], the way an axis places
// it on the page.
struct Scale {
    double domainLow;
    double domainHigh;
    double rangeLow;
    double rangeHigh;

    double operator()(double value) const {
        return rangeLow + (value - domainLow) / (domainHigh - domainLow) * (rangeHigh - rangeLow);
    }
};

// A tenth of a pixel is finer than any screen shows, and keeps the document small.
std::string coordinate(double value);

// `text` made safe as XML or HTML character data or an attribute value, as it stands.
std::string markupEscaped(std::string_view text);

// The same, with what a terminal would not show spelled out first, as visibleText does.
std::string escaped(std::string_view text);

// A tick label with the decimals `step` needs; huge values in three significant digits, so a
// label never runs off the chart.
std::string shortNumber(double value, double step);

// `xmlText` is inserted as it is: escape what did not come from this program.
void writeText(std::ostream& out, double x, double y, std::string_view anchor,
               std::string_view xmlText, std::string_view extra = "");

void writeLine(std::ostream& out, double x1, double y1, double x2, double y2,
               std::string_view stroke, std::string_view extra = "");

// A transform attribute that turns an element about (x, y).
std::string rotated(double degrees, double x, double y);

} // namespace kickmark
