#include "DecimalCommaLocale.h"

namespace {

struct CommaNumpunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

DecimalCommaLocale::DecimalCommaLocale()
    : previousCpp_(std::locale::global(std::locale(std::locale::classic(), new CommaNumpunct))),
      previousC_(std::setlocale(LC_ALL, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252"}) {
        if (std::setlocale(LC_ALL, name)) {
            cSwitched_ = true;
            break;
        }
    }
}

DecimalCommaLocale::~DecimalCommaLocale() {
    std::setlocale(LC_ALL, previousC_.c_str());
    std::locale::global(previousCpp_);
}
