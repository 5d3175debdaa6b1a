// The whole start-up: the settings it loads and saves, the first-run language, and a second
// start handing its document to the first.
#include <QScreen>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/shell/main_window.h"
#include "app/shell/qelto_application.h"
#include "app/shell/shell_context.h"
#include "app/shell/single_instance.h"
#include "app_test_env.h"
#include "shell_fake_prompts.h"

using namespace qelto;

namespace {

void writeSettings(const std::string& text) {
    std::filesystem::create_directories(platform::settingsFile().parent_path());
    std::ofstream(platform::settingsFile()) << text;
}

std::string readSettings() {
    std::ifstream in(platform::settingsFile());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first instance of each test gets a socket name of its own, so tests never meet each other
// or a Qelto the developer has open.
QString serverName() {
    static int count = 0;
    return QStringLiteral("qelto-shell-test-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++count);
}

}  // namespace

class ShellInstanceTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;

  private Q_SLOTS:
    void cleanup() { std::filesystem::remove(platform::settingsFile()); }

    void settingsRoundTripAndFirstRunStoresEnglish() {
        // Language 0: never chosen. The frame lies wholly off the 0,0-based screen.
        writeSettings(
            "[Settings]\nLanguage=0\nSerPort=/dev/ttyS3\nUSBSpeedThrottle=4\n"
            "FrameRect=10270000102700001a2b00001a2b0000\n");
        test::FakePrompts prompts;
        app::QeltoApplication qelto(prompts, serverName());
        QCOMPARE(qelto.InitInstance({}), app::QeltoApplication::Start::Running);
        QVERIFY(qelto.firstRun());
        QVERIFY(readSettings().find("Language=1") != std::string::npos);
        QCOMPARE(qelto.context()->settings.serPort, std::string("/dev/ttyS3"));
        QCOMPARE(qelto.context()->settings.usbSpeedThrottle, 4);
        QVERIFY(qelto.window()->isVisible());
        QVERIFY(qelto.window()->frameGeometry().left() < 10000);  // default placement

        qelto.window()->setGeometry(120, 80, 840, 620);
        // qeltoctl starts a batch while the window is open; the window's exit must keep it.
        platform::Settings batch = platform::SettingsStore().load();
        batch.batchName = "SO-4711";
        batch.batchSize = 12;
        QVERIFY(platform::SettingsStore().save(batch));
        QVERIFY(qelto.window()->close());
        qelto.ExitInstance();
        const platform::Settings saved = platform::SettingsStore().load();
        QCOMPARE(saved.language, 1);
        QCOMPARE(saved.serPort, std::string("/dev/ttyS3"));
        QCOMPARE(saved.maximized, 0);
        QCOMPARE(saved.batchName, std::string("SO-4711"));
        QCOMPARE(saved.batchSize, 12u);
        const QRect frame = qelto.window()->geometry();
        QCOMPARE(saved.frameRect,
                 (std::array<std::int32_t, 4>{frame.left(), frame.top(), frame.right() + 1,
                                              frame.bottom() + 1}));
    }

    void savedFrameOnScreenIsRestoredAndMaximizedIsHonoured() {
        writeSettings(
            "[Settings]\nLanguage=1\n"
            "FrameRect=64000000c80000008403000020030000\n");  // 100,200 - 900,800
        test::FakePrompts prompts;
        {
            app::QeltoApplication qelto(prompts, serverName());
            QCOMPARE(qelto.InitInstance({}), app::QeltoApplication::Start::Running);
            QVERIFY(!qelto.firstRun());
            QCOMPARE(qelto.window()->geometry(), QRect(100, 200, 800, 600));
        }
        writeSettings("[Settings]\nLanguage=1\nMaximized=1\n");
        app::QeltoApplication qelto(prompts, serverName());
        QCOMPARE(qelto.InitInstance({}), app::QeltoApplication::Start::Running);
        QVERIFY(qelto.window()->isMaximized());
    }

    void secondStartHandsItsDocumentToTheFirstAndEnds() {
        writeSettings("[Settings]\nLanguage=1\n");
        const std::string document = env_.path().toStdString() + "/handed.qlf";
        {
            model::CProgData config;
            model::NoPumpNameDefaults names;
            model::CQeltoDoc doc(config, names);
            doc.onNewDocument();
            config.accessCode = 42;
            QVERIFY(doc.onSaveDocument(document).ok);
        }
        const QString name = serverName();
        test::FakePrompts prompts;
        app::QeltoApplication first(prompts, name);
        QCOMPARE(first.InitInstance({}), app::QeltoApplication::Start::Running);
        first.window()->showMinimized();
        QTRY_VERIFY(first.window()->isMinimized());

        app::QeltoApplication second(prompts, name);
        QCOMPARE(second.InitInstance({QString::fromStdString(document)}),
                 app::QeltoApplication::Start::HandedOver);
        QVERIFY(second.window() == nullptr);

        QTRY_COMPARE(first.context()->doc.pathName().string(), document);
        QCOMPARE(first.context()->config.accessCode, 42);
        QVERIFY(!first.window()->isMinimized());
        QVERIFY(first.window()->isVisible());

        // A start without a document just brings the first one forward.
        first.window()->showMinimized();
        QVERIFY(app::handOverToRunningInstance(name, QString()));
        QTRY_VERIFY(!first.window()->isMinimized());
        QCOMPARE(first.context()->doc.pathName().string(), document);
    }

    void noInstanceRunningMeansThisStartRuns() {
        QVERIFY(!app::handOverToRunningInstance(serverName(), QStringLiteral("/x.qlf"), 200));
        QVERIFY(app::instanceServerName().startsWith(QStringLiteral("CorvidClass-")));
    }
};

QTEST_MAIN(ShellInstanceTest)
#include "shell_instance_test.moc"
