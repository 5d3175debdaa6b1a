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
inline constexpr int kMenuReport = 4216;
inline constexpr int kReportOfDocument = 4217;
inline constexpr int kReportReadUnit = 4218;
inline constexpr int kReportOpen = 4219;
inline constexpr int kReportSave = 4220;
inline constexpr int kReportPrint = 4221;
inline constexpr int kReportPrintPdf = 4222;
inline constexpr int kReportClear = 4223;
inline constexpr int kReportEditComment = 4224;
inline constexpr int kReportExport = 4225;
inline constexpr int kReportOpenCaption = 4226;
inline constexpr int kPdfCaption = 4227;
inline constexpr int kPdfFilter = 4228;
inline constexpr int kCommentCaption = 4229;
inline constexpr int kReportSaved = 4230;
inline constexpr int kWorkbookNoOpener = 4231;
inline constexpr int kReportCannotOpen = 4232;
inline constexpr int kPdfFailed = 4233;
inline constexpr int kReportCannotWrite = 4234;
inline constexpr int kReadUnitUnavailable = 4235;
inline constexpr int kExportDetails = 4236;
inline constexpr int kAskSaveBeforeOpen = 4237;
inline constexpr int kReportPrintSetup = 4238;

}  // namespace qelto::app::text
