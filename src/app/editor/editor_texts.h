// String numbers of the editor pane's texts in the language catalogs.
#pragma once

namespace qelto::app::text {

inline constexpr int kPump = 240;
inline constexpr int kCalibration = 249;
inline constexpr int kMlPerMin = 239;
inline constexpr int kProgram = 250;
inline constexpr int kTrigger = 290;
inline constexpr int kCopyFailed = 291;
inline constexpr int kNothingToPaste = 292;
inline constexpr int kAskDropCopy = 293;
inline constexpr int kAskClear = 294;
inline constexpr int kEnabled = 423;
inline constexpr int kFeatureOff = 424;
inline constexpr int kLastPump = 425;
inline constexpr int kLastInput = 426;
inline constexpr int kDuringAndAfter = 427;
inline constexpr int kAfterOnly = 428;
inline constexpr int kNormalMode = 429;
inline constexpr int kRelayMode = 430;
inline constexpr int kResetDelay = 2531;
inline constexpr int kResetDelayTime = 2532;
inline constexpr int kFlushValve = 2533;
inline constexpr int kFlushValveTime = 2534;
inline constexpr int kOutputMode = 2535;
inline constexpr int kAutoFlushAccept = 2536;
inline constexpr int kAutoFlushTime = 2537;
inline constexpr int kResetDelayFrom = 2538;
inline constexpr int kAccessCode = 2539;
inline constexpr int kSerialNumber = 2554;

inline constexpr int kRoot = 3300;
inline constexpr int kCopyProgram = 3301;
inline constexpr int kPasteProgram = 3302;
inline constexpr int kClearProgram = 3303;
inline constexpr int kRenameProgram = 3304;
inline constexpr int kRenamePump = 3305;
inline constexpr int kNameLabel = 3306;
inline constexpr int kUnitType = 3307;
inline constexpr int kPin = 3308;
inline constexpr int kSafetyStop = 3311;
inline constexpr int kAutoFlushMode = 3312;
inline constexpr int kResetToOption = 3313;
inline constexpr int kResetToProgram = 3314;
inline constexpr int kCustomerName1 = 3315;
inline constexpr int kCustomerName2 = 3316;
inline constexpr int kDescription = 3317;
inline constexpr int kPumps = 3319;
inline constexpr int kSpeed = 3320;
inline constexpr int kSpeedRange = 3321;
inline constexpr int kUnitClock = 3322;
inline constexpr int kReadClock = 3323;
inline constexpr int kSetClock = 3324;
inline constexpr int kClockLater = 3325;
inline constexpr int kOptionA = 3326;
inline constexpr int kOptionB = 3327;
inline constexpr int kMinutes = 3328;
inline constexpr int kSeconds = 3329;
inline constexpr int kDelay = 3331;
inline constexpr int kRunTime = 3332;
inline constexpr int kDose = 3333;
inline constexpr int kDoseUs = 3334;
inline constexpr int kPulseCount = 3335;
inline constexpr int kProgramName = 3337;
inline constexpr int kProgramSummary = 3338;
inline constexpr int kPumpName = 3339;
inline constexpr int kNotCalibrated = 3340;
inline constexpr int kPcTime = 3341;
inline constexpr int kUnitTime = 3066;
inline constexpr int kGlobalSettings = 3342;
inline constexpr int kSettingsGroup = 3344;
inline constexpr int kCustomerGroup = 3345;

}  // namespace qelto::app::text
