#include "reports/usage_chart.h"

#include <fmt/format.h>

#include <algorithm>

#include "reports/page_escape.h"

namespace qelto::reports {

namespace {

// A fixed drawing size, so the chart is the same on screen and on an A4 page.
constexpr int kWidth = 640;
constexpr int kRowHeight = 22;
constexpr int kTop = 26;
constexpr int kLabelWidth = 80;
constexpr int kBarSpace = 400;

}  // namespace

std::string usageChartSvg(const std::vector<ChartBar>& bars, std::string_view caption,
                          std::string_view pumpLabel, double scale) {
    if (bars.empty()) {
        return {};
    }
    double largest = scale;
    for (const ChartBar& bar : bars) {
        largest = std::max(largest, bar.value);
    }
    const int height = kTop + kRowHeight * static_cast<int>(bars.size()) + 6;
    std::string svg = fmt::format(
        "<svg class=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" width=\"{0}\" height=\"{1}\" "
        "viewBox=\"0 0 {0} {1}\" role=\"img\" aria-label=\"{2}\">\n"
        "<text x=\"0\" y=\"16\" font-size=\"13\" font-weight=\"bold\">{2}</text>\n",
        kWidth, height, escapeHtml(caption));
    const std::string label = escapeHtml(pumpLabel);
    int y = kTop;
    for (const ChartBar& bar : bars) {
        const int length =
            largest > 0 ? static_cast<int>(bar.value / largest * kBarSpace + 0.5) : 0;
        const std::string figure = escapeHtml(bar.figure);
        svg += fmt::format(
            "<text x=\"0\" y=\"{0}\" font-size=\"12\">{1} {2:02}</text>"
            "<rect x=\"{3}\" y=\"{4}\" width=\"{5}\" height=\"{6}\" fill=\"#4a7ab5\">"
            "<title>{1} {2:02}: {7}</title></rect>"
            "<text x=\"{8}\" y=\"{0}\" font-size=\"12\">{7}</text>\n",
            y + 15, label, bar.pump, kLabelWidth, y + 3, std::max(length, 1), kRowHeight - 6,
            figure, kLabelWidth + length + 6);
        y += kRowHeight;
    }
    svg += "</svg>";
    return svg;
}

}  // namespace qelto::reports
