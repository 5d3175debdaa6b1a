// The numbers of the catalog texts the communications dialog and its questions show.
#pragma once

namespace qelto::app::commstext {

// Pump calibration asked for from a view that is not the laundry editor.
inline constexpr int kMsgCalibrationDishwash = 357;
inline constexpr int kMsgCalibrationNoEditor = 358;
// OK with no unit chosen, and a refused PIN.
inline constexpr int kMsgChooseUnit = 339;
inline constexpr int kMsgUnlockFailed = 369;

// An older unit's password.
inline constexpr int kTextPasswordTitle = 3600;
inline constexpr int kTextPasswordLabel = 3601;

inline constexpr int kTextDialogTitle = 4000;
inline constexpr int kTextScan = 4001;
inline constexpr int kTextBluetoothScan = 4002;
inline constexpr int kTextUnitsFound = 4003;
inline constexpr int kTextPinTitle = 4004;
inline constexpr int kTextPinLabel = 4005;
inline constexpr int kTextReadOptions = 4006;
inline constexpr int kTextWriteOptions = 4007;
inline constexpr int kTextVerifyOptions = 4008;
inline constexpr int kTextPumpNames = 4009;
inline constexpr int kTextProgramNames = 4010;
inline constexpr int kTextPumpCalibration = 4011;
inline constexpr int kTextProgramData = 4012;
inline constexpr int kTextComments = 4013;
inline constexpr int kTextReadAppendComments = 4014;
inline constexpr int kTextWriteAppendComments = 4015;
inline constexpr int kTextReadSerial = 4016;
inline constexpr int kTextWriteSerial = 4017;
inline constexpr int kTextDescription = 4018;
inline constexpr int kTextCalibrationCaption = 4019;
inline constexpr int kTextCalibrationQuestion = 4020;
inline constexpr int kTextPump = 4021;
inline constexpr int kTextUnit = 4022;
inline constexpr int kTextEditor = 4023;
inline constexpr int kTextKeepUnitCalibration = 4024;
inline constexpr int kTextWriteEditorCalibration = 4025;
inline constexpr int kTextDifferencesCaption = 4026;
inline constexpr int kTextDifferencesCount = 4027;  // %1: how many
inline constexpr int kTextSetting = 4028;
inline constexpr int kTextDocument = 4029;
inline constexpr int kTextProgramN = 4030;  // %1
inline constexpr int kTextTriggerN = 4031;  // %1
inline constexpr int kTextPumpN = 4032;     // %1
inline constexpr int kMsgCancelled = 4033;
inline constexpr int kMsgCancelledUnlocked = 4034;
inline constexpr int kMsgStillUnlocked = 4035;
inline constexpr int kStatusCancelling = 4036;
inline constexpr int kMsgCommsLogFolder = 4038;  // %1: the folder
inline constexpr int kTextFromEditor = 4039;
// Writing a document of another unit type; %1 and %2 the document's model and pumps, %3 and %4
// the unit's.
inline constexpr int kAskChangeUnitType = 4050;

}  // namespace qelto::app::commstext
