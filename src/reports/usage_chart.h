// A small bar chart of one usage block, drawn as inline SVG so that the page needs nothing beside
// it and prints as it shows: one bar per pump, the figure beside the bar and in its title.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qelto::reports {

struct ChartBar {
    unsigned pump = 0;   // 1-based, as the page labels pumps
    double value = 0;    // what the bar's length stands for
    std::string figure;  // the value as the page prints it (UTF-8, escaped here)
};

// Empty when there are no bars. caption and pumpLabel are UTF-8 and escaped here. A full-length
// bar stands for scale (or for the largest value, when that is larger), so that the charts of one
// page can be drawn to one scale and their bars compared.
std::string usageChartSvg(const std::vector<ChartBar>& bars, std::string_view caption,
                          std::string_view pumpLabel, double scale = 0);

}  // namespace qelto::reports
