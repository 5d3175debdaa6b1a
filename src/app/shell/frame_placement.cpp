#include "app/shell/frame_placement.h"

namespace qelto::app {

FrameRect frameRectOf(const QRect& geometry) {
    return {geometry.left(), geometry.top(), geometry.left() + geometry.width(),
            geometry.top() + geometry.height()};
}

std::optional<QRect> restorableFrame(const FrameRect& saved, const QRect& screen) {
    const auto [left, top, right, bottom] = saved;
    // 64-bit widths: a damaged setting may hold any four numbers.
    const std::int64_t width = std::int64_t{right} - left;
    const std::int64_t height = std::int64_t{bottom} - top;
    if (width <= 0 || height <= 0 || width > 100000 || height > 100000) {
        return std::nullopt;
    }
    const QRect rect(left, top, static_cast<int>(width), static_cast<int>(height));
    const QRect onScreen = rect.intersected(screen);
    if (onScreen.width() < 10 || onScreen.height() < 10) {
        return std::nullopt;
    }
    return rect;
}

}  // namespace qelto::app
