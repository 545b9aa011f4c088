#include "svg_chart.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using namespace kickmark;

namespace {

std::string chart_of(const std::vector<double>& speeds) {
    std::ostringstream out;
    write_svg_chart(out, speeds);
    return out.str();
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

} // namespace

TEST(WriteSvgChart, IsWellFormedSvgAccordingToXmllint) {
    if (std::string(KICKMARK_XMLLINT).empty()) {
        GTEST_SKIP() << "xmllint not found";
    }
    const auto path = std::filesystem::temp_directory_path() / "kickmark-report-chart-test.svg";
    write_file(path, chart_of({1523.4, 987.25, 3050.5, 2100.0}));
    const std::string command =
        std::string("\"") + KICKMARK_XMLLINT + "\" --noout \"" + path.string() + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::filesystem::remove(path);
}

TEST(WriteSvgChart, SingleShotChartIsSelfContainedSvgWithFiniteCoordinates) {
    const std::string svg = chart_of({1500.0});
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
    for (const char* unwanted : {"href", "url(", "@import", "<image", "nan", "inf"}) {
        EXPECT_EQ(svg.find(unwanted), std::string::npos) << unwanted;
    }
}

TEST(WriteSvgChart, DrawsOneMarkPerShot) {
    for (const std::size_t shots : {1u, 2u, 37u}) {
        const std::vector<double> speeds(shots, 1800.0);
        EXPECT_EQ(occurrences(chart_of(speeds), "class=\"shot\""), shots);
    }
}
