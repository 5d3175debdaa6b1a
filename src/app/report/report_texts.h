// String numbers of the report view's and the report options dialog's texts.
#pragma once

namespace qelto::app::text {

inline constexpr int kReportFileName = 220;
inline constexpr int kReportSaveCaption = 271;
inline constexpr int kReportSaveExtension = 272;
inline constexpr int kReportSaveFilter = 273;
inline constexpr int kReportSheetName = 274;
inline constexpr int kReportLogoFile = 276;
inline constexpr int kReportStyleFile = 277;
inline constexpr int kAskSaveBeforeRead = 278;
inline constexpr int kReportSaveFailed = 279;
inline constexpr int kReportPageMissing = 280;
inline constexpr int kAskSaveBeforeClear = 281;
inline constexpr int kReportPageUnreadable = 282;
inline constexpr int kCommentMissing = 286;
inline constexpr int kEmptyReportPage = 287;
inline constexpr int kExportFilter = 2518;
inline constexpr int kExportCaption = 2519;
inline constexpr int kExportExtension = 2520;

inline constexpr int kOptionsCaption = 4200;
inline constexpr int kOptionsWhich = 4201;
inline constexpr int kOptionsTotals = 4202;
inline constexpr int kOptionsRange = 4203;
inline constexpr int kOptionsSettings = 4204;
inline constexpr int kOptionsFrom = 4205;
inline constexpr int kOptionsTo = 4206;
inline constexpr int kOptionsShifts = 4207;
inline constexpr int kOptionsNoShifts = 4208;
inline constexpr int kOptionsTwoShifts = 4209;
inline constexpr int kOptionsThreeShifts = 4210;
inline constexpr int kOptionsShift1 = 4211;
inline constexpr int kOptionsShift2 = 4212;
inline constexpr int kOptionsShift3 = 4213;
inline constexpr int kOptionsStart = 4214;
inline constexpr int kOptionsEnd = 4215;

}  // namespace qelto::app::text
