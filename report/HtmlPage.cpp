#include "HtmlPage.h"

#include "SvgElements.h"

namespace kickmark {

namespace {

// An SVG document inside HTML takes no XML declaration.
std::string_view withoutProlog(std::string_view svg) {
    if (svg.starts_with("<?xml")) {
        const auto end = svg.find("?>");
        svg.remove_prefix(end == std::string_view::npos ? svg.size() : end + 2);
        while (svg.starts_with('\n') || svg.starts_with('\r')) {
            svg.remove_prefix(1);
        }
    }
    return svg;
}

} // namespace

std::string htmlPage(std::string_view heading, std::string_view svg) {
    // A page from a file: address may read no other file, but it may load itself again: the
    // refresh does that, and the browser keeps the scroll position across it.
    const std::string title = markupEscaped(heading);
    std::string page = "<!DOCTYPE html>\n"
                       "<html lang=\"en\">\n"
                       "<head>\n"
                       "<meta charset=\"utf-8\">\n"
                       "<meta http-equiv=\"refresh\" content=\"2\">\n"
                       "<title>" +
                       title +
                       "</title>\n"
                       "<style>body{margin:0 1em;font-family:sans-serif}"
                       "h1{font-size:1.1em;font-weight:normal}</style>\n"
                       "</head>\n"
                       "<body>\n"
                       "<h1 id=\"newest\">" +
                       title + "</h1>\n";
    page += withoutProlog(svg);
    page += "</body>\n</html>\n";
    return page;
}

} // namespace kickmark
