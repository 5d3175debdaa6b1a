// The shell over real documents and settings: saving and opening through the menus, the question
// before a modified document is lost, the settings a start loads and an exit keeps, a second start
// handing its document to the first, and qelto --simulate's unit for one run only.
#include <signal.h>

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <cerrno>
#include <fstream>

#include "app/shell/main_window.h"
#include "app/shell/qelto_application.h"
#include "app/shell/shell_context.h"
#include "app/shell/simulated_unit.h"
#include "app/shell/single_instance.h"
#include "app_test_env.h"
#include "shell_fake_prompts.h"

using namespace qelto;
using app::Answer;

namespace {

// A window over a fresh document, with the settings of the test's own HOME.
struct Shell {
    platform::SettingsStore store;
    app::ShellContext context{store, store.load(),
                              std::move(*platform::LanguageCatalog::loadForSetting(1))};
    test::FakePrompts prompts;
    app::MainWindow window{context, prompts};

    void trigger(const char* name) {
        QAction* action = window.findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action != nullptr && action->isEnabled(), name);
        action->trigger();
    }
};

void writeSettings(const std::string& text) {
    std::filesystem::create_directories(platform::settingsFile().parent_path());
    std::ofstream(platform::settingsFile()) << text;
}

// Each instance server gets a name of its own, so tests never meet a Qelto the developer has open.
QString serverName() {
    static int count = 0;
    return QStringLiteral("qelto-shell-test-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++count);
}

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;
    QString file(const QString& name) const { return env_.path() + QLatin1Char('/') + name; }

  private Q_SLOTS:
    void cleanup() { std::filesystem::remove(platform::settingsFile()); }

    void saveAsNewAndOpenRoundTripThroughTheMenus() {
        Shell s;
        s.window.show();
        s.context.config.accessCode = 123;
        s.context.doc.setModifiedFlag();
        s.window.refreshTitle();
        QCOMPARE(s.window.windowTitle(), QStringLiteral("Untitled[*] - Qelto"));

        s.prompts.files = {file(QStringLiteral("laundry"))};
        s.trigger("fileSaveAs");
        QVERIFY(QFile::exists(file(QStringLiteral("laundry.qlf"))));  // the extension is added
        QCOMPARE(s.window.windowTitle(), QStringLiteral("laundry.qlf[*] - Qelto"));
        QVERIFY(!s.window.isWindowModified());

        s.trigger("fileNew");
        QVERIFY(s.prompts.asked.isEmpty());  // nothing to save
        QCOMPARE(s.context.config.accessCode, 1);
        s.prompts.files = {file(QStringLiteral("laundry.qlf"))};
        s.trigger("fileOpen");
        QCOMPARE(s.context.config.accessCode, 123);

        // A ".qcf" file opens too, and its save writes the ".qlf" name beside it.
        QVERIFY(QFile::copy(file(QStringLiteral("laundry.qlf")), file(QStringLiteral("old.qcf"))));
        QVERIFY(s.window.openDocument(file(QStringLiteral("old.qcf"))));
        s.trigger("fileSave");
        QVERIFY(QFile::exists(file(QStringLiteral("old.qlf"))));
        QCOMPARE(s.window.recentFiles().files().front(), file(QStringLiteral("old.qlf")));

        // What cannot be read is said, and the document shown stays.
        QVERIFY(!s.window.openDocument(file(QStringLiteral("missing.qlf"))));
        QVERIFY(s.prompts.warned.back().contains(QStringLiteral("missing.qlf")));
        QCOMPARE(s.context.config.accessCode, 123);
        QVERIFY(s.prompts.told.isEmpty());
    }

    void aModifiedDocumentIsLostOnlyAfterNoOrASave() {
        Shell s;
        s.window.show();
        s.context.config.accessCode = 9;
        s.context.doc.setModifiedFlag();
        s.prompts.answers = {Answer::Cancel};
        QVERIFY(!s.window.newDocument());
        QCOMPARE(s.prompts.asked, QStringList{QStringLiteral("Save the changes to Untitled?")});
        // Yes, then cancelling the save dialog, keeps the document too.
        s.prompts.answers = {Answer::Yes};
        QVERIFY(!s.window.newDocument());
        QCOMPARE(s.context.config.accessCode, 9);

        s.prompts.answers = {Answer::Yes};
        s.prompts.files = {file(QStringLiteral("kept.qlf"))};
        QVERIFY(s.window.newDocument());
        QVERIFY(QFile::exists(file(QStringLiteral("kept.qlf"))));

        s.context.config.accessCode = 10;
        s.context.doc.setModifiedFlag();
        s.prompts.answers = {Answer::No};
        QVERIFY(s.window.newDocument());
        QCOMPARE(s.context.config.accessCode, 1);

        s.context.doc.setModifiedFlag();
        s.prompts.answers = {Answer::Cancel};
        QVERIFY(!s.window.close());
        QVERIFY(s.window.isVisible());
    }

    // The batch keys belong to qeltoctl as much as to the window: an exit keeps what it set.
    void settingsSurviveAStartAndAnExitAndAFirstRunStoresEnglish() {
        // Language 0: never chosen. The frame lies wholly off the screen.
        writeSettings(
            "[Settings]\nLanguage=0\nSerPort=/dev/ttyS3\nUSBSpeedThrottle=4\n"
            "FrameRect=10270000102700001a2b00001a2b0000\n");
        test::FakePrompts prompts;
        app::QeltoApplication qelto(prompts, serverName());
        QCOMPARE(qelto.InitInstance({}), app::QeltoApplication::Start::Running);
        QVERIFY(qelto.firstRun());
        QCOMPARE(qelto.context()->settings.usbSpeedThrottle, 4);
        QVERIFY(qelto.window()->frameGeometry().left() < 10000);  // default placement

        qelto.window()->setGeometry(120, 80, 840, 620);
        platform::Settings batch = platform::SettingsStore().load();
        batch.batchName = "SO-4711";
        batch.batchSize = 12;
        QVERIFY(platform::SettingsStore().save(batch));
        QVERIFY(qelto.window()->close());
        qelto.ExitInstance();
        const platform::Settings saved = platform::SettingsStore().load();
        QCOMPARE(saved.language, 1);
        QCOMPARE(saved.serPort, std::string("/dev/ttyS3"));
        QCOMPARE(saved.batchName, std::string("SO-4711"));
        QCOMPARE(saved.batchSize, 12u);
        const QRect frame = qelto.window()->geometry();
        QCOMPARE(saved.frameRect,
                 (std::array<std::int32_t, 4>{frame.left(), frame.top(), frame.right() + 1,
                                              frame.bottom() + 1}));
    }

    void aSecondStartHandsItsDocumentToTheFirstAndEnds() {
        writeSettings("[Settings]\nLanguage=1\n");
        const std::string document = file(QStringLiteral("handed.qlf")).toStdString();
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
        QVERIFY(!app::handOverToRunningInstance(serverName(), QStringLiteral("/x.qlf"), 200));
    }

    void theSimulatorStandsInForThisRunOnlyAndEndsWithIt() {
        platform::Settings own;
        own.serPort = "/dev/ttyS9";
        QVERIFY(platform::SettingsStore().save(own));
        test::FakePrompts prompts;
        app::QeltoApplication qelto(prompts, serverName());
        QCOMPARE(qelto.InitInstance({}), app::QeltoApplication::Start::Running);
        app::ShellContext& context = *qelto.context();
        auto session =
            app::startSimulatedSession(context, *qelto.window(), prompts,
                                       QFileInfo(QStringLiteral(QELTO_UNITSIM_PATH)).path());
        QVERIFY2(session != nullptr, qPrintable(prompts.warned.join(QLatin1Char('\n'))));
        const pid_t pid = session->unit().pid();
        const QString port = session->unit().port();
        QCOMPARE(QString::fromStdString(context.settings.serPort), port);
        auto* label = qelto.window()->findChild<QLabel*>(QStringLiteral("simulatedUnit"));
        QVERIFY(label != nullptr && label->text().contains(port));

        session.reset();
        QCOMPARE(::kill(pid, 0), -1);
        QCOMPARE(errno, ESRCH);
        QCOMPARE(context.settings.serPort, std::string("/dev/ttyS9"));
        QVERIFY(qelto.window()->close());
        qelto.ExitInstance();
        QCOMPARE(platform::SettingsStore().load().serPort, std::string("/dev/ttyS9"));
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
