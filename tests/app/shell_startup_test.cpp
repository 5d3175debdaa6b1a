// Start-up decisions that need no window: the saved frame, the language catalog and its
// fallbacks, the recent-files list and the spreadsheet template.
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "app/shell/frame_placement.h"
#include "app/shell/language_startup.h"
#include "app/shell/recent_files.h"
#include "app/shell/template_probe.h"
#include "app_test_env.h"
#include "shell_fake_prompts.h"

using namespace qelto;
using app::Answer;

namespace {

platform::LanguageCatalog catalogSaying(const char* text) {
    return platform::LanguageCatalog::parse(std::string("msgctxt \"3000\"\nmsgid \"") + text +
                                            "\"\nmsgstr \"\"\n");
}

// Loads only the languages listed, and notes each one asked for.
struct FakeCatalogs {
    std::vector<int> present;
    std::vector<int> requested;
    app::CatalogLoader loader() {
        return [this](int language) -> std::optional<platform::LanguageCatalog> {
            requested.push_back(language);
            if (std::find(present.begin(), present.end(), language) == present.end()) {
                return std::nullopt;
            }
            return catalogSaying(language == 1 ? "English" : "Other");
        };
    }
};

}  // namespace

class ShellStartupTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;

  private Q_SLOTS:
    void frameRectKeptOnlyWithTenByTenPixelsOnScreen() {
        const QRect screen(0, 0, 1920, 1080);
        // left, top, right, bottom: right and bottom lie just outside the window.
        QCOMPARE(app::restorableFrame({100, 50, 900, 650}, screen), QRect(100, 50, 800, 600));
        // Partly off screen but 10 x 10 pixels still on it: kept as saved.
        QCOMPARE(app::restorableFrame({1910, 1070, 2500, 1600}, screen),
                 QRect(1910, 1070, 590, 530));
        QCOMPARE(app::restorableFrame({1911, 100, 2500, 600}, screen), std::nullopt);  // 9 wide
        QCOMPARE(app::restorableFrame({-800, 1071, 10, 1500}, screen), std::nullopt);  // 9 high
        QCOMPARE(app::restorableFrame({}, screen), std::nullopt);  // never saved
        QCOMPARE(app::restorableFrame({500, 500, 100, 100}, screen), std::nullopt);
        QCOMPARE(app::restorableFrame({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, screen),
                 std::nullopt);
        QCOMPARE(app::frameRectOf(QRect(100, 50, 800, 600)), (app::FrameRect{100, 50, 900, 650}));
    }

    void unknownLanguageSettingsLoadEnglishAndStoreOne() {
        for (const int stored : {0, 11, -3}) {
            FakeCatalogs catalogs{{1, 2, 3}, {}};
            test::FakePrompts prompts;
            const app::StartupLanguage result =
                app::loadStartupLanguage(stored, prompts, catalogs.loader());
            QVERIFY(result.catalog);
            QCOMPARE(result.catalog->text(3000), std::string("English"));
            QCOMPARE(result.language, 1);
            QVERIFY(result.storeLanguage);
            QCOMPARE(result.firstRun, stored == 0);
            QCOMPARE(catalogs.requested, std::vector<int>{1});
            QVERIFY(prompts.asked.isEmpty() && prompts.warned.isEmpty());
        }
        FakeCatalogs catalogs{{1, 4}, {}};
        test::FakePrompts prompts;
        const app::StartupLanguage german = app::loadStartupLanguage(4, prompts, catalogs.loader());
        QCOMPARE(german.catalog->text(3000), std::string("Other"));
        QVERIFY(!german.storeLanguage && !german.firstRun);
    }

    void missingCatalogOffersEnglishAndNoEndsStartUp() {
        FakeCatalogs catalogs{{1}, {}};
        test::FakePrompts yes;
        yes.answers = {Answer::Yes};
        const app::StartupLanguage english = app::loadStartupLanguage(3, yes, catalogs.loader());
        QCOMPARE(yes.asked,
                 QStringList{"***ERROR*** Could not load LangDLL[3]\nDefault to English?"});
        QCOMPARE(english.catalog->text(3000), std::string("English"));
        QCOMPARE(english.language, 3);  // the choice stays for when the catalog is back

        test::FakePrompts no;
        no.answers = {Answer::No};
        const app::StartupLanguage none = app::loadStartupLanguage(7, no, catalogs.loader());
        QVERIFY(!none.catalog);
        QCOMPARE(no.warned, (QStringList{"Could not load language table LangXX.dll\nContact your "
                                         "distributor for help.",
                                         "Failed to load language DLL"}));
    }

    void missingEnglishCatalogSaysSoAndStartsInBuiltInEnglish() {
        FakeCatalogs catalogs{{}, {}};
        test::FakePrompts prompts;
        const app::StartupLanguage result = app::loadStartupLanguage(1, prompts, catalogs.loader());
        QCOMPARE(prompts.warned, QStringList{"***ERROR*** Could not load LangDLL[1]"});
        QVERIFY(prompts.asked.isEmpty());
        QVERIFY(result.catalog);
        QCOMPARE(result.catalog->text(155), std::string("QeltoReport.xlsx"));
    }

    void recentFilesNewestFirstWithoutDoublesAndAtMostSixteen() {
        app::RecentFiles recent;
        for (int i = 1; i <= 18; ++i) {
            recent.add(QStringLiteral("/docs/unit%1.qlf").arg(i));
        }
        QCOMPARE(recent.files().size(), 16);
        QCOMPARE(recent.files().front(), QStringLiteral("/docs/unit18.qlf"));
        QCOMPARE(recent.files().back(), QStringLiteral("/docs/unit3.qlf"));
        recent.add(QStringLiteral("/docs/../docs/unit10.qlf"));
        QCOMPARE(recent.files().size(), 16);
        QCOMPARE(recent.files().front(), QStringLiteral("/docs/unit10.qlf"));
        QCOMPARE(recent.files().count(QStringLiteral("/docs/unit10.qlf")), 1);
        recent.remove(QStringLiteral("/docs/unit18.qlf"));
        QCOMPARE(recent.files().size(), 15);

        const app::RecentFiles loaded({"/a.qlf", "", "/b.qlf", "/a.qlf"});
        QCOMPARE(loaded.files(), (QStringList{"/a.qlf", "/b.qlf"}));
    }

    void spreadsheetTemplateMustExistAndBeReadable() {
        QTemporaryDir dir;
        const std::filesystem::path data = dir.path().toStdString();
        QVERIFY(!app::spreadsheetTemplateAvailable(data, "QeltoReport.xlsx"));
        std::ofstream(data / "QeltoReport.xlsx") << "PK";
        QVERIFY(app::spreadsheetTemplateAvailable(data, "QeltoReport.xlsx"));
        std::filesystem::permissions(data / "QeltoReport.xlsx", std::filesystem::perms::owner_read);
        QVERIFY(app::spreadsheetTemplateAvailable(data, "QeltoReport.xlsx"));  // read-only is fine
        std::filesystem::create_directory(data / "folder.xlsx");
        QVERIFY(!app::spreadsheetTemplateAvailable(data, "folder.xlsx"));
        QVERIFY(!app::spreadsheetTemplateAvailable(data, ""));
    }
};

QTEST_MAIN(ShellStartupTest)
#include "shell_startup_test.moc"
