// The main window's saved rectangle: left, top, right and bottom (right and bottom just outside
// the window), as the settings keep it.
#pragma once

#include <QRect>
#include <array>
#include <cstdint>
#include <optional>

namespace qelto::app {

using FrameRect = std::array<std::int32_t, 4>;

FrameRect frameRectOf(const QRect& geometry);

// The saved rectangle, unless less than 10 x 10 pixels of it lie on the screen (an empty one
// included): a window there could not be found or grabbed, so it takes the default placement.
std::optional<QRect> restorableFrame(const FrameRect& saved, const QRect& screen);

}  // namespace qelto::app
