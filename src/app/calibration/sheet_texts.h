// String numbers of the calibration sheet's own labels.
#pragma once

namespace qelto::app::calibration_text {

inline constexpr int kSheetTitle = 318;
inline constexpr int kFlowUnit = 239;  // "ml/min"; American catalogs say "fl oz/min"
inline constexpr int kCalibrationTab = 3906;
inline constexpr int kResetsTab = 3907;
inline constexpr int kPumpColumn = 3908;
inline constexpr int kSpeedColumn = 3909;
inline constexpr int kFlowColumn = 3910;
inline constexpr int kRunButton = 3911;
inline constexpr int kReadButton = 3912;
inline constexpr int kWriteButton = 3913;
inline constexpr int kLoadButton = 3914;
inline constexpr int kSaveButton = 3915;
inline constexpr int kStopButton = 3916;
inline constexpr int kRunTimes = 3917;  // "Started %1, ends %2"
inline constexpr int kResetWashesButton = 3918;
inline constexpr int kResetCountersButton = 3919;
inline constexpr int kResetAllButton = 3920;
inline constexpr int kNotAllowed = 3921;  // "Operation not allowed."
inline constexpr int kResetsNote = 3922;
inline constexpr int kCloseButton = 3924;

}  // namespace qelto::app::calibration_text
