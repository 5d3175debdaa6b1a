// The numbers of the catalog texts the shell shows, and the lookup that turns one into a QString.
#pragma once

#include <QString>

#include "platform/language_catalog.h"

namespace qelto::app {

namespace text {
inline constexpr int kLinkWebSite = 149;
inline constexpr int kLinkMail = 150;
inline constexpr int kTemplateFile = 155;
inline constexpr int kMenuFile = 3000;
inline constexpr int kFileNew = 3001;
inline constexpr int kFileOpen = 3002;
inline constexpr int kFileSave = 3003;
inline constexpr int kFileSaveAs = 3004;
inline constexpr int kFileExit = 3005;
inline constexpr int kMenuUnit = 3006;
inline constexpr int kUnitRead = 3007;
inline constexpr int kUnitWrite = 3008;
inline constexpr int kUnitVerify = 3009;
inline constexpr int kUnitClockGet = 3010;
inline constexpr int kUnitClockSet = 3011;
inline constexpr int kUnitPumpCalibration = 3012;
inline constexpr int kUnitReport = 3013;
inline constexpr int kUnitFind = 3014;
inline constexpr int kUnitCommsSettings = 3015;
inline constexpr int kMenuBatch = 3016;
inline constexpr int kBatchLogIn = 3017;
inline constexpr int kBatchSetup = 3018;
inline constexpr int kBatchPassword = 3019;
inline constexpr int kMenuOlder = 3020;
inline constexpr int kOlderRead = 3021;
inline constexpr int kOlderWrite = 3022;
inline constexpr int kOlderThirdCommand = 3023;
inline constexpr int kOlderDishwashRead = 3024;
inline constexpr int kOlderDishwashVerify = 3025;
inline constexpr int kOlderUsage = 3026;
inline constexpr int kOlderTextDump = 3027;
inline constexpr int kMenuView = 3028;
inline constexpr int kViewStart = 3029;
inline constexpr int kViewEditor = 3030;
inline constexpr int kViewReport = 3031;
inline constexpr int kViewLegacyForm = 3032;
inline constexpr int kViewDishwash = 3033;
inline constexpr int kMenuLanguage = 3034;
inline constexpr int kLanguageSelect = 3035;
inline constexpr int kMenuHelp = 3036;
inline constexpr int kHelpAbout = 3037;
inline constexpr int kUntitled = 3038;
inline constexpr int kFileFilter = 3039;
inline constexpr int kOpenCaption = 3040;
inline constexpr int kSaveAsCaption = 3041;
inline constexpr int kAskSaveChanges = 3042;
inline constexpr int kReady = 3044;
inline constexpr int kCommsCaption = 3045;
inline constexpr int kCommsPort = 3046;
inline constexpr int kCommsProgressBars = 3047;
inline constexpr int kCommsThrottle = 3048;
inline constexpr int kCommsLog = 3049;
inline constexpr int kSelectLanguageCaption = 3050;
inline constexpr int kAboutCaption = 3051;
inline constexpr int kAboutProduct = 3052;
inline constexpr int kAboutPurpose = 3053;
inline constexpr int kToolBar = 3054;
inline constexpr int kCannotSave = 3056;
inline constexpr int kStartViewHint = 3057;
inline constexpr int kViewNotYet = 3058;
inline constexpr int kCannotOpen = 3059;
inline constexpr int kCommsPortHint = 3060;
inline constexpr int kChosenUnit = 3061;
inline constexpr int kMenuEdit = 3064;
inline constexpr int kChemicalNames = 3065;
}  // namespace text

inline QString uiText(const platform::LanguageCatalog& catalog, int id) {
    return QString::fromStdString(catalog.text(id));
}

}  // namespace qelto::app
