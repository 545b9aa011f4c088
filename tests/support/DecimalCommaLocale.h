#pragma once

#include <clocale>
#include <locale>
#include <string>

// Switches the process's C and C++ locales to ones that write numbers with a decimal comma
// and grouping, and restores them when it goes. The C++ side needs no system locale; the C
// side uses de_DE.UTF-8 (or the Windows name) when the system has it.
class DecimalCommaLocale {
public:
    DecimalCommaLocale();
    ~DecimalCommaLocale();

    // Whether the C library's own formatting now writes a comma.
    bool cLocaleSwitched() const { return cSwitched_; }

private:
    std::locale previousCpp_;
    std::string previousC_;
    bool cSwitched_ = false;
};
