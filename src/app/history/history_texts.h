// The numbers of the catalog texts of the unit history window.
#pragma once

namespace qelto::app::historytext {

inline constexpr int kMenuUnitHistory = 3069;
inline constexpr int kCaption = 3070;
inline constexpr int kColumnTime = 3071;
inline constexpr int kColumnOperation = 3072;
inline constexpr int kColumnSerial = 3073;
inline constexpr int kColumnResult = 3074;
inline constexpr int kColumnUser = 3075;
inline constexpr int kOpenAsDocument = 3076;
inline constexpr int kCompareWithDocument = 3077;
inline constexpr int kCompareWithPrevious = 3078;
inline constexpr int kRestoreToUnit = 3079;
inline constexpr int kNoSettingsKept = 3080;
inline constexpr int kAskRestore = 3081;  // %1 entry, %2 serial
inline constexpr int kCannotUse = 3083;   // %1 why
inline constexpr int kSameSettings = 3084;
inline constexpr int kAllUnits = 3085;
inline constexpr int kColumnMessage = 3086;
inline constexpr int kBackUpBeforeWrite = 3087;
inline constexpr int kEntryN = 3088;
// The operations and results the history keeps, as the list shows them.
inline constexpr int kOperationRead = 3090;
inline constexpr int kOperationBackup = 3091;
inline constexpr int kOperationWrite = 3092;
inline constexpr int kOperationVerify = 3093;
inline constexpr int kOperationClockGet = 3094;
inline constexpr int kOperationClockSet = 3095;
inline constexpr int kOperationCalibration = 3096;
inline constexpr int kOperationReset = 3097;
inline constexpr int kOperationReport = 3098;
inline constexpr int kOperationRestore = 3099;
inline constexpr int kOperationBatchWrite = 3100;
inline constexpr int kOperationOlderUnit = 3101;  // %1 the operation
inline constexpr int kResultDone = 3102;
inline constexpr int kResultFailed = 3103;
inline constexpr int kResultCancelled = 3104;
inline constexpr int kResultDiffers = 3105;

}  // namespace qelto::app::historytext
