// The editor pane with each view selected (metric and American) and its program popup, and the
// about box, communication settings and language dialogs: every label and button must get at
// least the room it asks for. The main window and its menus are pictured by the tour.
#include <QAction>
#include <QMenu>
#include <QTest>

#include "app/editor/global_view.h"
#include "app/editor/trigger_view.h"
#include "app/shell/about_dialog.h"
#include "app/shell/comms_settings_dialog.h"
#include "app/shell/language_dialog.h"
#include "app_test_env.h"
#include "editor_test_fixture.h"
#include "screen_shots.h"

using namespace qelto;

class ScreensTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;

  private Q_SLOTS:
    void dialogs() {
        auto catalog = platform::LanguageCatalog::loadForSetting(1);
        QVERIFY(catalog);
        app::AboutDialog about(*catalog, [](const QUrl&) { return true; });
        test::takePicture(about, env_.path(), QStringLiteral("shell_about"));
        app::CommsSettingsDialog comms(*catalog, {"/dev/ttyUSB0", 1, 3, false},
                                       {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"});
        test::takePicture(comms, env_.path(), QStringLiteral("shell_comms_settings"));
        app::LanguageDialog language(*catalog, 4);
        QCOMPARE(language.chosenLanguage(), 4);
        test::takePicture(language, env_.path(), QStringLiteral("shell_language"));
    }

    void editorViewsFitTheirTexts() {
        for (const bool american : {false, true}) {
            test::EditorFixture f(american);
            f.config.progName[1] = "Towels";
            f.config.pumpName = {"Detergent", "Alkali", "Bleach", "Softener"};
            f.config.pumpCalibration[2] = 150;
            f.config.pumpEnabled[1][0][0] = 1;
            f.config.pumpEnabled[1][0][2] = 1;
            f.config.programs[1][0][2].dose = 2575;
            model::setText(f.config.customerName1, "Hotel Nord");
            f.pane->reload();
            f.pane->resize(1000, 720);
            f.pane->show();
            QVERIFY(QTest::qWaitForWindowExposed(f.pane.get()));
            for (QTreeWidgetItem* item : {f.tree()->topLevelItem(0), f.tree()->programItem(1),
                                          f.tree()->triggerItem(1, 0), f.tree()->pumpItem(2)}) {
                f.select(item);
                QTest::qWait(20);
                test::checkNothingClipped(f.pane->currentView());
            }
        }
    }

    // The program popup offers its four commands; a pump has one, a trigger and the unit none.
    void editorProgramPopup() {
        test::EditorFixture f;
        f.pane->show();
        std::unique_ptr<QMenu> menu(f.tree()->contextMenuFor(f.tree()->programItem(0)));
        QStringList commands;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                commands << action->text();
            }
        }
        QCOMPARE(
            commands,
            (QStringList{QStringLiteral("&Copy program"), QStringLiteral("&Paste program"),
                         QStringLiteral("C&lear program"), QStringLiteral("&Rename program")}));
        QCOMPARE(std::unique_ptr<QMenu>(f.tree()->contextMenuFor(f.tree()->pumpItem(0)))
                     ->actions()
                     .size(),
                 1);
        QVERIFY(f.tree()->contextMenuFor(f.tree()->triggerItem(0, 0)) == nullptr);
        QVERIFY(f.tree()->contextMenuFor(f.tree()->topLevelItem(0)) == nullptr);

        menu->adjustSize();
        menu->popup(f.pane->mapToGlobal(QPoint(60, 60)));
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
        test::checkNothingClipped(menu.get());
        menu->close();
    }
};

QTEST_MAIN(ScreensTest)
#include "screens_test.moc"
