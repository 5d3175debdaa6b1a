// Pictures of the main window with each menu open, of the editor pane with each view selected
// (metric and American) and its program popup, and of the about box, communication settings and
// language dialogs. Every label and button must get at least the room it asks for.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include "app/editor/global_view.h"
#include "app/editor/trigger_view.h"
#include "app/shell/about_dialog.h"
#include "app/shell/comms_settings_dialog.h"
#include "app/shell/language_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "app_test_env.h"
#include "editor_test_fixture.h"
#include "screen_shots.h"
#include "shell_fake_prompts.h"

using namespace qelto;

class ScreensTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;
    QString shot(const QString& name) const { return test::shotPath(env_.path(), name); }

  private Q_SLOTS:
    void mainWindowWithEachMenuOpen() {
        auto catalog = platform::LanguageCatalog::loadForSetting(1);
        QVERIFY(catalog);
        platform::SettingsStore store;
        store.saveRecentFiles({"/home/eng/jobs/Hotel Nord.qlf", "/home/eng/jobs/Mill Lane.qlf"});
        app::ShellContext context(store, store.load(), std::move(*catalog));
        test::FakePrompts prompts;
        app::MainWindow window(context, prompts);
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setProgress(35);
        QVERIFY(window.grab().save(shot(QStringLiteral("shell_main_window"))));

        int index = 0;
        for (QAction* top : window.menuBar()->actions()) {
            QMenu* menu = top->menu();
            QVERIFY(menu != nullptr);
            const QRect anchor = window.menuBar()->actionGeometry(top);
            menu->popup(window.menuBar()->mapTo(&window, anchor.bottomLeft()));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            for (QAction* item : menu->actions()) {
                QVERIFY2(item->isSeparator() || !item->text().startsWith(QLatin1Char('#')),
                         qPrintable(item->text()));  // every entry has its catalog text
            }
            QPixmap picture = window.grab();
            QPainter painter(&picture);
            painter.drawPixmap(window.menuBar()->mapTo(&window, anchor.bottomLeft()), menu->grab());
            painter.end();
            const QString name =
                top->text().remove(QLatin1Char('&')).replace(QLatin1Char(' '), QLatin1Char('_'));
            QVERIFY(picture.save(shot(QStringLiteral("shell_menu_%1_%2").arg(index++).arg(name))));
            menu->hide();
        }
        QCOMPARE(index, 8);  // File, Edit, Unit, Batch, Older units, View, Language, Help

        for (const int slot : {app::kEditorSlot, app::kReportSlot}) {
            window.SwitchView(slot);
            QVERIFY(window.grab().save(shot(QStringLiteral("shell_view_%1").arg(slot))));
        }
    }

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
            const std::pair<QTreeWidgetItem*, QString> views[] = {
                {f.tree()->topLevelItem(0), QStringLiteral("global")},
                {f.tree()->programItem(1), QStringLiteral("program")},
                {f.tree()->triggerItem(1, 0), QStringLiteral("trigger")},
                {f.tree()->pumpItem(2), QStringLiteral("pump")},
            };
            for (const auto& [item, name] : views) {
                f.select(item);
                QTest::qWait(20);
                test::checkNothingClipped(f.pane->currentView());
                QVERIFY(f.pane->grab().save(
                    shot(QStringLiteral("editor-%1%2")
                             .arg(name, american ? QStringLiteral("-us") : QString()))));
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
        QVERIFY(menu->grab().save(shot(QStringLiteral("editor-program-menu"))));
        menu->close();
    }
};

QTEST_MAIN(ScreensTest)
#include "screens_test.moc"
