// The navigation tree's pictures, by image number: 0 program, 1 trigger, 2 pump, 3 the unit,
// 4 program with an enabled pump, 5 trigger with an enabled pump.
#pragma once

#include <QIcon>

namespace qelto::app {

inline constexpr int kImageProgram = 0;
inline constexpr int kImageTrigger = 1;
inline constexpr int kImagePump = 2;
inline constexpr int kImageRoot = 3;
inline constexpr int kImageProgramActive = 4;
inline constexpr int kImageTriggerActive = 5;

QIcon navIcon(int image);

}  // namespace qelto::app
