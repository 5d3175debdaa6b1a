// The main window over a real document: open and save through its actions, the question before
// a modified document is replaced, the recent files, the views and the progress indicator.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "app/forms/legacy_laundry_form.h"
#include "app/report/report_commands.h"
#include "app/report/report_view.h"
#include "app/shell/comms_settings_dialog.h"
#include "app/shell/language_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "app/shell/window_commands.h"
#include "app_test_env.h"
#include "shell_fake_prompts.h"

using namespace qelto;
using app::Answer;

namespace {

std::unique_ptr<app::ShellContext> makeContext() {
    auto catalog = platform::LanguageCatalog::loadForSetting(1);
    platform::SettingsStore store;
    return std::make_unique<app::ShellContext>(store, store.load(), std::move(*catalog));
}

// ResetAll gives every new document access code 1.
constexpr std::uint8_t kResetAccessCode = 1;

}  // namespace

class ShellWindowTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;
    std::unique_ptr<app::ShellContext> context_;
    test::FakePrompts prompts_;
    std::unique_ptr<app::MainWindow> window_;

    void trigger(const char* name) {
        QAction* action = window_->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action != nullptr, name);
        QVERIFY2(action->isEnabled(), name);
        action->trigger();
    }
    // Runs edit on the modal dialog the next command opens, then presses OK.
    template <typename Dialog, typename Edit>
    static void answerDialog(Edit edit) {
        QTimer::singleShot(0, [edit] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            edit(*dialog);
            dialog->accept();
        });
    }
    QString file(const QString& name) const { return env_.path() + QLatin1Char('/') + name; }

  private Q_SLOTS:
    void init() {
        std::filesystem::remove(platform::settingsFile());
        context_ = makeContext();
        prompts_ = test::FakePrompts();
        window_ = std::make_unique<app::MainWindow>(*context_, prompts_);
        window_->show();
    }
    void cleanup() {
        window_.reset();
        context_.reset();
    }

    void saveAsNewAndOpenRoundTripThroughTheMenus() {
        context_->config.accessCode = 123;
        context_->doc.setModifiedFlag();
        window_->refreshTitle();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Untitled[*] - Qelto"));
        QVERIFY(window_->isWindowModified());

        prompts_.files = {file(QStringLiteral("laundry"))};
        trigger("fileSaveAs");
        QVERIFY(QFile::exists(file(QStringLiteral("laundry.qlf"))));  // the extension is added
        QCOMPARE(window_->windowTitle(), QStringLiteral("laundry.qlf[*] - Qelto"));
        QVERIFY(!window_->isWindowModified());

        trigger("fileNew");
        QVERIFY(prompts_.asked.isEmpty());  // nothing to save
        QCOMPARE(context_->config.accessCode, kResetAccessCode);
        QCOMPARE(window_->currentViewIndex(), int(app::kEditorSlot));

        prompts_.files = {file(QStringLiteral("laundry.qlf"))};
        trigger("fileOpen");
        QCOMPARE(context_->config.accessCode, 123);
        QVERIFY(prompts_.warned.isEmpty() && prompts_.told.isEmpty());

        // A ".qcf" file opens too, and its save writes the ".qlf" name beside it.
        QVERIFY(QFile::copy(file(QStringLiteral("laundry.qlf")), file(QStringLiteral("old.qcf"))));
        QVERIFY(window_->openDocument(file(QStringLiteral("old.qcf"))));
        context_->config.accessCode = 7;
        trigger("fileSave");
        QVERIFY(QFile::exists(file(QStringLiteral("old.qlf"))));
        QCOMPARE(window_->windowTitle(), QStringLiteral("old.qlf[*] - Qelto"));
        QCOMPARE(window_->recentFiles().files().front(), file(QStringLiteral("old.qlf")));
    }

    void openFailuresShowTheCatalogMessageAndKeepTheDocument() {
        context_->config.accessCode = 55;
        QFile junk(file(QStringLiteral("junk.qlf")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("\x04qdo9 not a document");
        junk.close();
        QVERIFY(!window_->openDocument(junk.fileName()));
        QCOMPARE(prompts_.warned, QStringList{context_->text(218)});
        QCOMPARE(context_->config.accessCode, 55);

        QVERIFY(!window_->openDocument(file(QStringLiteral("missing.qlf"))));
        QCOMPARE(prompts_.warned.size(), 2);
        QVERIFY(prompts_.warned.back().contains(QStringLiteral("missing.qlf")));
        QVERIFY(window_->recentFiles().files().isEmpty());
    }

    void modifiedDocumentAsksBeforeNew() {
        context_->config.accessCode = 9;
        context_->doc.setModifiedFlag();

        prompts_.answers = {Answer::Cancel};
        QVERIFY(!window_->newDocument());
        QCOMPARE(prompts_.asked, QStringList{QStringLiteral("Save the changes to Untitled?")});
        QCOMPARE(context_->config.accessCode, 9);

        // Yes, then cancelling the save dialog, keeps the document too.
        prompts_.answers = {Answer::Yes};
        QVERIFY(!window_->newDocument());
        QCOMPARE(context_->config.accessCode, 9);

        prompts_.answers = {Answer::Yes};
        prompts_.files = {file(QStringLiteral("kept.qlf"))};
        QVERIFY(window_->newDocument());
        QVERIFY(QFile::exists(file(QStringLiteral("kept.qlf"))));
        QVERIFY(!context_->doc.isModified());

        context_->config.accessCode = 10;
        context_->doc.setModifiedFlag();
        prompts_.answers = {Answer::No};
        QVERIFY(window_->newDocument());
        QCOMPARE(context_->config.accessCode, kResetAccessCode);

        // Closing the window asks the same way.
        context_->doc.setModifiedFlag();
        prompts_.answers = {Answer::Cancel};
        QVERIFY(!window_->close());
        QVERIFY(window_->isVisible());
    }

    // The list's own rules are the start-up test's; here the window's menu and the next start.
    void recentFilesArePersisted() {
        for (int i = 0; i < 17; ++i) {
            prompts_.files = {file(QStringLiteral("unit%1.qlf").arg(i))};
            QVERIFY(window_->saveDocumentAs());
        }
        QVERIFY(window_->findChild<QAction*>(QStringLiteral("recent0"))
                    ->text()
                    .endsWith(QStringLiteral("unit16.qlf")));

        // A new window (the next start) offers the same list, newest first.
        window_.reset();
        context_ = makeContext();
        window_ = std::make_unique<app::MainWindow>(*context_, prompts_);
        QCOMPARE(window_->recentFiles().files().size(), 16);
        QCOMPARE(window_->recentFiles().files().back(), file(QStringLiteral("unit1.qlf")));
        window_->findChild<QAction*>(QStringLiteral("recent15"))->trigger();
        QCOMPARE(context_->doc.pathName().string(),
                 file(QStringLiteral("unit1.qlf")).toStdString());
    }

    void droppedFileOpensAsTheDocument() {
        context_->config.accessCode = 77;
        QVERIFY(context_->doc.onSaveDocument(file(QStringLiteral("dropped.qlf")).toStdString()).ok);
        context_->doc.onNewDocument();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file(QStringLiteral("dropped.qlf")))});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window: QApplication passes on no drop without a drag in progress.
        QVERIFY(static_cast<QObject*>(window_.get())->event(&drop));
        QCOMPARE(prompts_.warned, QStringList());
        QCOMPARE(context_->config.accessCode, 77);
    }

    // Emptying the shown slot falls back to the start view rather than a stale one.
    void anEmptiedViewSlotFallsBackToTheStartView() {
        auto* mine = new QLabel(QStringLiteral("dishwash editor"));
        window_->setView(app::kDishwashSlot, mine);
        QCOMPARE(window_->SwitchView(app::kDishwashSlot), mine);
        QCOMPARE(window_->SwitchView(7), nullptr);
        window_->setView(app::kDishwashSlot, nullptr);
        QCOMPARE(window_->currentViewIndex(), int(app::kStartViewSlot));
    }

    void commsSettingsStoreTheValuesAndAChangedPortClosesTheOpenOne() {
        context_->settings.serPort = "/dev/ttyUSB0";
        QSignalSpy portChanged(window_.get(), &app::MainWindow::serialPortChanged);

        answerDialog<app::CommsSettingsDialog>([](QDialog& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("port"))
                ->setCurrentText(QStringLiteral(" /dev/ttyACM1 "));
            dialog.findChild<QSpinBox*>(QStringLiteral("throttle"))->setValue(500);  // capped
            dialog.findChild<QCheckBox*>(QStringLiteral("progressBars"))->setChecked(false);
            dialog.findChild<QCheckBox*>(QStringLiteral("commsLog"))->setChecked(true);
        });
        trigger("unitCommsSettings");
        QCOMPARE(context_->settings.serPort, std::string("/dev/ttyACM1"));
        QCOMPARE(context_->settings.usbSpeedThrottle, 100);
        QCOMPARE(context_->settings.progressBars, 0);
        QVERIFY(context_->commsLog);
        QVERIFY(context_->units.commsLogOn());
        QCOMPARE(portChanged.count(), 1);

        // OK on the same port closes nothing; an emptied port field keeps the old port.
        answerDialog<app::CommsSettingsDialog>([](QDialog&) {});
        trigger("unitCommsSettings");
        answerDialog<app::CommsSettingsDialog>([](QDialog& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("port"))->setCurrentText(QString());
        });
        trigger("unitCommsSettings");
        QCOMPARE(context_->settings.serPort, std::string("/dev/ttyACM1"));
        QCOMPARE(portChanged.count(), 1);
        QVERIFY(context_->units.commsLogOn());
    }

    void choosingALanguageStoresItAndConfirmsInTheCurrentOne() {
        answerDialog<app::LanguageDialog>([](app::LanguageDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Select language - English"));
            dialog.choose(4);
        });
        trigger("languageSelect");
        QCOMPARE(platform::SettingsStore().load().language, 4);
        QCOMPARE(prompts_.told, QStringList{context_->text(2572)});
        QVERIFY(prompts_.told.front().contains(QStringLiteral("German")));

        // The same language again changes and says nothing.
        answerDialog<app::LanguageDialog>([](app::LanguageDialog&) {});
        trigger("languageSelect");
        QCOMPARE(prompts_.told.size(), 1);
    }

    // Every menu command comes to life once the commands are wired; the batch commands wait
    // for a log-in, and the older units' commands show their form.
    void wiredCommandsOpenTheMenus() {
        app::WindowCommands commands(*window_, *context_, prompts_);
        for (const char* name : {"unitRead", "unitWrite", "unitVerify", "unitClockGet",
                                 "unitClockSet", "unitPumpCalibration", "unitReport", "unitFind",
                                 "batchLogIn", "olderRead", "olderWrite", "olderThirdCommand"}) {
            QAction* action = window_->findChild<QAction*>(QString::fromLatin1(name));
            QVERIFY2(action != nullptr && action->isEnabled(), name);
        }
        QVERIFY(window_->view(app::kReportSlot) == static_cast<QWidget*>(commands.report().view()));
        // With its button disabled the command only shows the form, and no unit is asked.
        auto* form = qobject_cast<app::LegacyLaundryForm*>(window_->view(app::kLegacyFormSlot));
        QVERIFY(form != nullptr);
        form->thirdButton()->setEnabled(false);
        window_->SwitchView(app::kEditorSlot);
        trigger("olderThirdCommand");
        QCOMPARE(window_->currentViewIndex(), static_cast<int>(app::kLegacyFormSlot));
    }
};

QTEST_MAIN(ShellWindowTest)
#include "shell_window_test.moc"
