#pragma once

#include <string>
#include <string_view>

namespace kickmark {

// A page that shows `svg` (a chart document, or nothing yet) under `heading`, and follows the
// file it is written to: opened from the disk, with no server, it loads that file again every
// two seconds, so each new chart appears without a click. The heading is also the page's title.
std::string htmlPage(std::string_view heading, std::string_view svg);

} // namespace kickmark
