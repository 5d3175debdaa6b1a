// qelto --simulate: the simulator starts on a pseudo-terminal that becomes the port for this run
// only, the status bar says so, and the simulator is gone when the session ends.
#include "app/shell/simulated_unit.h"

#include <signal.h>

#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <cerrno>

#include "app/shell/main_window.h"
#include "app/shell/qelto_application.h"
#include "app/shell/shell_context.h"
#include "app_test_env.h"
#include "shell_fake_prompts.h"

using namespace qelto;

class SimulatedUnitTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;

  private Q_SLOTS:
    void theSimulatorStandsInForThisRunOnly() {
        platform::Settings own;
        own.serPort = "/dev/ttyS9";
        QVERIFY(platform::SettingsStore().save(own));
        test::FakePrompts prompts;
        app::QeltoApplication qelto(
            prompts, QStringLiteral("qelto-sim-test-%1").arg(QCoreApplication::applicationPid()));
        QCOMPARE(qelto.InitInstance({}), app::QeltoApplication::Start::Running);
        app::ShellContext& context = *qelto.context();

        auto session =
            app::startSimulatedSession(context, *qelto.window(), prompts,
                                       QFileInfo(QStringLiteral(QELTO_UNITSIM_PATH)).path());
        QVERIFY2(session != nullptr, qPrintable(prompts.warned.join(QLatin1Char('\n'))));
        const pid_t pid = session->unit().pid();
        const QString port = session->unit().port();
        QCOMPARE(QString::fromStdString(context.settings.serPort), port);
        QVERIFY(QFileInfo::exists(port));
        QCOMPARE(::kill(pid, 0), 0);
        auto* label = qelto.window()->findChild<QLabel*>(QStringLiteral("simulatedUnit"));
        QVERIFY(label != nullptr && label->text().contains(port));
        if (qEnvironmentVariableIsSet("QELTO_SHOT_DIR")) {
            qelto.window()->resize(900, 600);
            QVERIFY(qelto.window()->grab().save(qEnvironmentVariable("QELTO_SHOT_DIR") +
                                                QStringLiteral("/simulated_unit_window.png")));
        }

        session.reset();
        QCOMPARE(::kill(pid, 0), -1);
        QCOMPARE(errno, ESRCH);
        QCOMPARE(context.settings.serPort, std::string("/dev/ttyS9"));
        QVERIFY(qelto.window()->close());
        qelto.ExitInstance();
        QCOMPARE(platform::SettingsStore().load().serPort, std::string("/dev/ttyS9"));
    }

    void aMissingSimulatorIsSaidAndTheOwnPortStays() {
        auto catalog = platform::LanguageCatalog::loadForSetting(1);
        platform::SettingsStore store;
        platform::Settings own = store.load();
        own.serPort = "/dev/ttyS9";
        app::ShellContext context(store, own, std::move(*catalog));
        test::FakePrompts prompts;
        app::MainWindow window(context, prompts);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", env_.path().toLocal8Bit());
        auto session = app::startSimulatedSession(context, window, prompts, env_.path());
        qputenv("PATH", path);
        QVERIFY(session == nullptr);
        QCOMPARE(prompts.warned.size(), 1);
        QVERIFY(prompts.warned[0].contains(QStringLiteral("qelto-unitsim")));
        QVERIFY(prompts.warned[0].contains(QStringLiteral("/dev/ttyS9")));
        QCOMPARE(context.settings.serPort, std::string("/dev/ttyS9"));
    }
};

QTEST_MAIN(SimulatedUnitTest)
#include "simulated_unit_test.moc"
