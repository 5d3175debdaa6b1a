// Pictures of the main window with each menu open, the about box, the communication settings
// and the language dialog. Every label and button must get at least the room it asks for, so no
// text is cut off. The pictures go to QELTO_SHOT_DIR when it is set, else into the test's folder.
#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include "app/shell/about_dialog.h"
#include "app/shell/comms_settings_dialog.h"
#include "app/shell/language_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "app_test_env.h"
#include "shell_fake_prompts.h"

using namespace qelto;

class ShellScreensTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;

    QString shotPath(const QString& name) const {
        const QString dir = qEnvironmentVariableIsSet("QELTO_SHOT_DIR")
                                ? qEnvironmentVariable("QELTO_SHOT_DIR")
                                : env_.path();
        QDir().mkpath(dir);
        return dir + QLatin1Char('/') + name;
    }

    static void checkNothingClipped(QWidget* top) {
        for (QWidget* widget : top->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(top) || (qobject_cast<QLabel*>(widget) == nullptr &&
                                              qobject_cast<QAbstractButton*>(widget) == nullptr)) {
                continue;
            }
            const QSize wanted = widget->minimumSizeHint();
            QVERIFY2(widget->width() >= wanted.width() && widget->height() >= wanted.height(),
                     qPrintable(widget->property("text").toString()));
        }
    }

    void shootDialog(QDialog& dialog, const QString& name) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        checkNothingClipped(&dialog);
        QVERIFY(dialog.grab().save(shotPath(name)));
        dialog.close();
    }

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
        QVERIFY(window.grab().save(shotPath(QStringLiteral("shell_main_window.png"))));

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
            QPixmap shot = window.grab();
            QPainter painter(&shot);
            painter.drawPixmap(window.menuBar()->mapTo(&window, anchor.bottomLeft()), menu->grab());
            painter.end();
            QVERIFY(
                shot.save(shotPath(QStringLiteral("shell_menu_%1_%2.png")
                                       .arg(index++)
                                       .arg(top->text()
                                                .remove(QLatin1Char('&'))
                                                .replace(QLatin1Char(' '), QLatin1Char('_'))))));
            menu->hide();
        }
        QCOMPARE(index, 7);  // File, Unit, Batch, Older units, View, Language, Help

        for (const int slot : {app::kEditorSlot, app::kReportSlot}) {
            window.SwitchView(slot);
            QVERIFY(window.grab().save(shotPath(QStringLiteral("shell_view_%1.png").arg(slot))));
        }
    }

    void dialogs() {
        auto catalog = platform::LanguageCatalog::loadForSetting(1);
        QVERIFY(catalog);
        app::AboutDialog about(*catalog, [](const QUrl&) { return true; });
        shootDialog(about, QStringLiteral("shell_about.png"));

        app::CommsSettingsDialog comms(*catalog, {"/dev/ttyUSB0", 1, 3, false},
                                       {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"});
        shootDialog(comms, QStringLiteral("shell_comms_settings.png"));

        app::LanguageDialog language(*catalog, 4);
        QCOMPARE(language.chosenLanguage(), 4);
        shootDialog(language, QStringLiteral("shell_language.png"));
    }
};

QTEST_MAIN(ShellScreensTest)
#include "shell_screens_test.moc"
