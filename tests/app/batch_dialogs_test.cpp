// The batch dialogs over the core's setup rules, and writing the next unit of a batch through a
// stand-in for the communications dialog.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "app/batch/batch_commands.h"
#include "app/batch/batch_password_dialog.h"
#include "app/batch/batch_setup_dialog.h"
#include "app/batch/user_login_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "app_test_env.h"
#include "batch_fake_prompts.h"
#include "comms/batch_log.h"
#include "screen_shots.h"
#include "shell_fake_prompts.h"

using namespace qelto;

namespace {

// 2026: the year folder every job file of these tests goes into.
comms::BatchEnvironment fixedEnvironment(const QString& root) {
    comms::BatchEnvironment environment;
    environment.clock = [] {
        std::tm when{};
        when.tm_year = 126;
        when.tm_mon = 2;
        when.tm_mday = 9;
        when.tm_hour = 10;
        return when;
    };
    environment.programFolder = (root + QStringLiteral("/program/")).toStdString();
    return environment;
}

QLineEdit* field(QWidget& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

comms::OperationResult resultOf(comms::OperationStatus status, int message) {
    comms::OperationResult result;
    result.status = status;
    result.closingMessage = message;
    result.verified = status == comms::OperationStatus::Ok;
    return result;
}

}  // namespace

class BatchDialogsTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;
    platform::SettingsStore store_;
    std::unique_ptr<platform::LanguageCatalog> texts_ = std::make_unique<platform::LanguageCatalog>(
        std::move(*platform::LanguageCatalog::loadForSetting(1)));
    test::ScriptedBatchPrompts prompts_;
    model::CProgData record_;
    std::string logs_ = (env_.path() + QStringLiteral("/logs/")).toStdString();

    std::unique_ptr<app::BatchSetupDialog> setupDialog() {
        return std::make_unique<app::BatchSetupDialog>(*texts_, prompts_, store_, record_,
                                                       fixedEnvironment(env_.path()),
                                                       QStringLiteral("ann"));
    }

  private Q_SLOTS:
    void init() {
        std::filesystem::remove(store_.file());
        prompts_ = {};
        record_ = {};
    }

    void picturesOfTheThreeDialogs() {
        platform::Settings settings;
        settings.batchName = "SO-2026-0415";
        settings.batchSize = 24;
        settings.batchCounter = 7;
        settings.logDirectory = logs_;
        QVERIFY(store_.save(settings));
        for (const auto& [language, code] : {std::pair{1, "en"}, std::pair{4, "de"}}) {
            auto texts = platform::LanguageCatalog::loadForSetting(language);
            QVERIFY(texts);
            const QString suffix = QStringLiteral("_%1").arg(QLatin1String(code));
            app::UserLoginDialog login(*texts, prompts_, QStringLiteral("ann"));
            test::takePicture(login, env_.path(), QStringLiteral("batch_login") + suffix);
            app::BatchSetupDialog setup(*texts, prompts_, store_, record_,
                                        fixedEnvironment(env_.path()), QStringLiteral("ann"));
            test::takePicture(setup, env_.path(), QStringLiteral("batch_setup") + suffix);
            app::BatchPasswordDialog password(*texts, prompts_);
            test::takePicture(password, env_.path(), QStringLiteral("batch_password") + suffix);
        }
    }

    void logInRefusesAnEmptyNameAndAWrongPasswordIsCleared() {
        app::UserLoginDialog login(*texts_, prompts_, QString());
        login.accept();
        QCOMPARE(login.result(), int(QDialog::Rejected));
        QCOMPARE(prompts_.beeps, 1);
        field(login, "userName")->setText(QStringLiteral("  "));
        login.accept();
        QCOMPARE(prompts_.beeps, 2);
        field(login, "userName")->setText(QStringLiteral("ann"));
        login.accept();
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(login.userName(), QStringLiteral("ann"));

        // Which passwords pass is the core's rule; the dialog clears a wrong one and beeps.
        app::BatchPasswordDialog wrong(*texts_, prompts_);
        field(wrong, "password")->setText(QStringLiteral("qv"));
        wrong.accept();
        QCOMPARE(wrong.result(), int(QDialog::Rejected));
        QVERIFY(field(wrong, "password")->text().isEmpty());
        QCOMPARE(prompts_.beeps, 3);
    }

    void cancelThenCancelStaysWithTypedValues() {
        auto dialog = setupDialog();
        dialog->show();
        field(*dialog, "salesOrder")->setText(QStringLiteral("SO-77"));
        dialog->reject();
        QVERIFY(dialog->isVisible());
        QCOMPARE(field(*dialog, "salesOrder")->text(), QStringLiteral("SO-77"));
        QCOMPARE(prompts_.asked, std::vector<std::string>{"OK to quit Batch Setup?"});
        prompts_.answers = {true};
        dialog->reject();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(store_.load().batchName, std::string());
    }

    void newBatchEmptiesCounterAndSizeBehindThePassword() {
        platform::Settings running;
        running.batchName = "SO-5";
        running.batchSize = 4;
        running.batchCounter = 2;
        QVERIFY(store_.save(running));
        record_.batchCounter = 2;
        auto dialog = setupDialog();
        QVERIFY(!field(*dialog, "salesOrder")->isEnabled());  // a batch under way keeps its job
        QTimer::singleShot(0, [] {
            auto* password =
                qobject_cast<app::BatchPasswordDialog*>(QApplication::activeModalWidget());
            QVERIFY(password != nullptr);
            field(*password, "password")->setText(QStringLiteral("Qvz"));
            password->accept();
        });
        dialog->findChild<QPushButton*>(QStringLiteral("newBatch"))->click();
        QCOMPARE(field(*dialog, "batchCounter")->text(), QStringLiteral("0"));
        QCOMPARE(field(*dialog, "batchSize")->text(), QStringLiteral("0"));
        QVERIFY(field(*dialog, "salesOrder")->isEnabled());
        QCOMPARE(record_.batchCounter, 0u);
        field(*dialog, "salesOrder")->setText(QStringLiteral("SO-6"));
        field(*dialog, "batchSize")->setText(QStringLiteral("8"));
        prompts_.answers = {true};
        dialog->accept();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        const platform::Settings stored = store_.load();
        QCOMPARE(stored.batchName, std::string("SO-6"));
        QCOMPARE(stored.batchCounter, 0u);
        QCOMPARE(stored.batchSize, 8u);
        QCOMPARE(record_.batchJobName, std::string("SO-6"));
    }

    void writeNextLogsEveryUnitAndCountsOnlyGoodOnes() {
        auto context = std::make_unique<app::ShellContext>(
            store_, store_.load(), std::move(*platform::LanguageCatalog::loadForSetting(1)));
        test::FakePrompts shellPrompts;
        app::MainWindow window(*context, shellPrompts);
        app::BatchCommands batch(window, *context, shellPrompts);
        batch.setDialogPrompts(&prompts_);
        batch.setEnvironment(fixedEnvironment(env_.path()));
        std::vector<comms::OperationResult> results;
        int runs = 0;
        batch.setRunOnUnit(
            [&](int code, const std::function<comms::OperationResult(comms::OperationContext&)>&) {
                ++runs;
                if (code != 321 || results.empty()) {
                    return std::optional<comms::OperationResult>();
                }
                comms::OperationResult next = results.front();
                results.erase(results.begin());
                return std::optional(next);
            });

        auto* writeNext = window.findChild<QAction*>(QStringLiteral("batchWriteNext"));
        QVERIFY(writeNext != nullptr);
        QVERIFY(!writeNext->isEnabled());
        QTimer::singleShot(0, [] {
            auto* login = qobject_cast<app::UserLoginDialog*>(QApplication::activeModalWidget());
            QVERIFY(login != nullptr);
            field(*login, "userName")->setText(QStringLiteral("ann"));
            login->accept();
        });
        window.findChild<QAction*>(QStringLiteral("batchLogIn"))->trigger();
        QVERIFY(writeNext->isEnabled());
        QCOMPARE(batch.userName(), QStringLiteral("ann"));

        QVERIFY(!batch.writeNextUnit());  // nothing set up: size 0
        QCOMPARE(shellPrompts.warned.size(), 1);
        QCOMPARE(runs, 0);

        platform::Settings settings = store_.load();
        settings.batchName = "SO-8";
        settings.batchSize = 2;
        settings.logDirectory = logs_;
        QVERIFY(store_.save(settings));
        std::filesystem::create_directories(logs_);
        results = {resultOf(comms::OperationStatus::Ok, 258),
                   resultOf(comms::OperationStatus::Failed, 362),
                   resultOf(comms::OperationStatus::Ok, 258)};
        QVERIFY(batch.writeNextUnit());
        QCOMPARE(store_.load().batchCounter, 1u);
        QVERIFY(!batch.writeNextUnit());
        QCOMPARE(store_.load().batchCounter, 1u);
        QVERIFY(shellPrompts.warned.back().contains(QStringLiteral("\"failed\"")));
        QVERIFY(batch.writeNextUnit());
        QCOMPARE(store_.load().batchCounter, 2u);
        QVERIFY(shellPrompts.told.back().contains(QStringLiteral("Batch SO-8 is complete.")));

        const std::string log = readFile(logs_ + "2026/SO-8.csv");
        QCOMPARE(log.substr(0, comms::kBatchLogHeading.size()),
                 std::string(comms::kBatchLogHeading));
        QVERIFY(log.find(",ok,ann,") != std::string::npos);
        QVERIFY(log.find(",failed,ann,") != std::string::npos);

        QVERIFY(!batch.writeNextUnit());  // complete: the unit is not touched
        QCOMPARE(runs, 3);
        QVERIFY(shellPrompts.warned.back().contains(QStringLiteral("2 of 2")));
    }
};

QTEST_MAIN(BatchDialogsTest)
#include "batch_dialogs_test.moc"
