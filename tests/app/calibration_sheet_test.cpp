// The pump calibration sheet with and without qelto-unitsim: the values it reads and writes, a
// run stopped with Escape while the window keeps running, speed rounding with its question, the
// save into the document, and pictures of its pages.
#include "app/calibration/calibration_sheet.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/calibration/pump_calibrate_page.h"
#include "app/editor/editor_context.h"
#include "app/editor/pump_view.h"
#include "app_test_env.h"
#include "comms/calibration_session.h"
#include "forms_test_support.h"
#include "platform/serial_port.h"
#include "protocol/packet_link.h"
#include "support/sim_process.h"

namespace qelto::test {

// Answers the sheet's questions from a script and remembers every text it was shown.
class ScriptedSheet final : public app::SheetPrompts {
  public:
    bool answer = true;
    QStringList asked;
    QStringList shown;
    bool askYesNo(const comms::Question& question) override {
        asked << QString::fromStdString(question.text);
        return answer;
    }
    void messageText(const std::string& text, comms::MessageIcon) override {
        shown << QString::fromStdString(text);
    }
    void message(const QString& text, const QString&, comms::MessageIcon) override {
        shown << text;
    }
};

class NoPrompts final : public comms::OperatorPrompts {
  public:
    std::optional<std::uint16_t> askPin() override { return std::nullopt; }
    std::optional<comms::Options> askOptions(comms::OptionsKind, const comms::Options&) override {
        return std::nullopt;
    }
    std::optional<int> askCalibrationChoice(const comms::CalibrationComparison&) override {
        return std::nullopt;
    }
    bool askYesNo(const comms::Question&) override { return false; }
    void status(const std::string&) override {}
    void progressRange(int) override {}
    void progressStep() override {}
    void progressHide() override {}
    void message(int, comms::MessageIcon, int) override {}
};

inline std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A unit on qelto-unitsim, the real serial code to it, and a calibration session over it.
struct UnitOnSim {
    SimProcess sim;
    std::unique_ptr<platform::SerialPort> port;
    protocol::LinkState state;
    std::atomic<bool> abort{false};
    std::unique_ptr<protocol::SerialPacketPath> path;
    std::unique_ptr<protocol::PacketLink> link;
    protocol::CommsData data;
    NoPrompts prompts;
    std::unique_ptr<comms::OperationContext> context;
    std::unique_ptr<comms::CalibrationSession> session;

    UnitOnSim(model::CQeltoDoc& doc, const std::filesystem::path& dir)
        : sim(dir, QELTO_UNITSIM_PATH, {"--state", (dir / "unit.json").string()}) {
        std::string error;
        port = platform::SerialPort::open(sim.portPath(), 57600, &error);
        if (!port) {
            qFatal("%s", error.c_str());
        }
        protocol::SerialTimings timings;
        timings.reply = std::chrono::milliseconds(300);
        timings.byteWrite = std::chrono::milliseconds(300);
        path = std::make_unique<protocol::SerialPacketPath>(*port, state, timings);
        link = std::make_unique<protocol::PacketLink>(*path, nullptr, abort,
                                                      [](std::chrono::milliseconds) {});
        data.connection.rememberedPin = 1234;
        context = std::make_unique<comms::OperationContext>(comms::OperationContext{
            doc, *link, data, prompts, [](int id) { return std::to_string(id); }, 1, {}});
        context->sleep = [](std::chrono::milliseconds) {};
        session = std::make_unique<comms::CalibrationSession>(*context);
    }
    nlohmann::json after() {
        sim.stop();
        return nlohmann::json::parse(fileText(sim.dumpFile()));
    }
};

class CalibrationSheetTest : public QObject {
    Q_OBJECT

  public:
    CalibrationSheetTest() : doc_(config_, noNames_) {}

  private Q_SLOTS:
    void init() {
        doc_.OnNewDocument();
        doc_.SetModifiedFlag(false);
    }

    void withoutAUnitOnlyTheEditorsValuesCanBeChangedAndSaved() {
        config_.pumpCalibration[4] = 120;
        config_.programs[0][0][1].runTime = {1, 15, 0};
        config_.programs[2][1][4].dose = 100;
        std::vector<model::DocHint> hints;
        doc_.setHintListener([&hints](model::DocHint hint) { hints.push_back(hint); });
        auto sheet = makeSheet(nullptr);
        QCOMPARE(sheet->tabs().count(), 1);
        QVERIFY(!button(*sheet, "read")->isEnabled());
        QVERIFY(!button(*sheet, "write")->isEnabled());
        QVERIFY(!button(*sheet, "run1")->isEnabled());
        QCOMPARE(edit(*sheet, "calibration5")->text(), QStringLiteral("120"));
        QVERIFY(!edit(*sheet, "speed5")->isEnabled());  // a new document fits four pumps

        edit(*sheet, "calibration2")->setText(QStringLiteral("120"));
        edit(*sheet, "calibration5")->setText(QStringLiteral("0"));
        button(*sheet, "save")->click();
        QCOMPARE(config_.programs[0][0][1].dose, 150u);
        QCOMPARE(config_.programs[2][1][4].runTime, (model::MinSec{0, 50, 0}));
        QVERIFY(doc_.IsModified());
        QVERIFY(std::find(hints.begin(), hints.end(), model::DocHint::Opened) != hints.end());
        doc_.setHintListener({});
    }

    void aChangedSpeedIsRoundedAndConfirmed() {
        auto sheet = makeSheet(nullptr);
        QLineEdit* speed = edit(*sheet, "speed1");
        speed->setText(QStringLiteral("47"));
        leave(speed);
        QCOMPARE(prompts_.asked.size(), 1);
        QVERIFY(prompts_.asked.first().contains(QStringLiteral("45")));
        QCOMPARE(speed->text(), QStringLiteral("45"));
        prompts_.answer = false;
        speed->setText(QStringLiteral("48"));
        leave(speed);
        QCOMPARE(speed->text(), QStringLiteral("45"));  // Cancel keeps the speed it had
        QCOMPARE(sheet->calibrationPage().page().speed[0], 45u);
        speed->setText(QStringLiteral("46"));  // rounds to what it was: nothing to ask
        leave(speed);
        QCOMPARE(prompts_.asked.size(), 2);
    }

    void aUnitsValuesAreReadWrittenAndARunStopsOnEscape() {
        UnitOnSim unit(doc_, unitDir());
        auto sheet = makeSheet(unit.session.get());
        sheet->show();
        QTRY_VERIFY(!sheet->busy());
        QCOMPARE(sheet->tabs().count(), 2);
        QCOMPARE(edit(*sheet, "calibration2")->text(), QStringLiteral("120"));
        QCOMPARE(edit(*sheet, "speed2")->text(), QStringLiteral("65"));

        edit(*sheet, "calibration1")->setText(QStringLiteral("250"));
        button(*sheet, "write")->click();
        QTRY_VERIFY(!sheet->busy());
        QCOMPARE(prompts_.shown.last(), text(comms::kMsgCalibrationWritten));

        // Escape during a run stops the pump; the event loop runs all the while.
        button(*sheet, "run2")->click();
        QTRY_VERIFY(sheet->calibrationPage().running());
        QVERIFY(sheet->findChild<QWidget*>(QStringLiteral("progress"))->isVisible());
        QVERIFY(!button(*sheet, "write")->isEnabled());
        QTest::qWait(300);
        QTest::keyClick(sheet.get(), Qt::Key_Escape);
        QVERIFY(!sheet->calibrationPage().running());
        QVERIFY(sheet->isVisible());  // Escape ended the run, not the sheet
        QTRY_VERIFY(!sheet->busy());

        // A run left to its end sends nothing more.
        sheet->calibrationPage().setRunLength(std::chrono::milliseconds(300));
        button(*sheet, "run1")->click();
        QTRY_VERIFY(sheet->calibrationPage().running());
        QTRY_VERIFY(!sheet->calibrationPage().running());
        QTest::qWait(200);
        sheet.reset();

        const auto memory = unit.after();
        QCOMPARE(memory["calibration"][0]["volume"].get<int>(), 250);
        const auto runs = memory["pumpRuns"];
        QCOMPARE(runs.size(), std::size_t{3});
        QCOMPARE(runs[0]["pump"].get<int>(), 1);
        QCOMPARE(runs[0]["speed"].get<int>(), 65);
        QCOMPARE(runs[1]["seconds"].get<int>(), 0);
        QCOMPARE(runs[2]["pump"].get<int>(), 0);
    }

    void picturesOfThePages() {
        const QString dir = env_.path() + QStringLiteral("/shots");
        QDir().mkpath(dir);
        QDir().mkpath(QStringLiteral("/tmp/shots"));
        const auto shoot = [&dir](QWidget& widget, const QString& name) {
            const QImage image = widget.grab().toImage();
            QVERIFY(image.save(dir + QLatin1Char('/') + name));
            image.save(QStringLiteral("/tmp/shots/") + name);
        };
        {
            UnitOnSim unit(doc_, unitDir());
            auto sheet = makeSheet(unit.session.get());
            sheet->show();
            QTRY_VERIFY(!sheet->busy());
            shoot(*sheet, QStringLiteral("calibration-page.png"));
            button(*sheet, "run1")->click();
            QTRY_VERIFY(sheet->calibrationPage().running());
            shoot(*sheet, QStringLiteral("calibration-running.png"));
            QVERIFY(!button(*sheet, "resetWashes")->isEnabled());
            button(*sheet, "stop")->click();
            QTRY_VERIFY(!sheet->busy());
            sheet->tabs().setCurrentIndex(1);
            QVERIFY(!button(*sheet, "resetAll")->isVisible());
            shoot(*sheet, QStringLiteral("calibration-resets.png"));
            button(*sheet, "resetWashes")->click();
            QTRY_VERIFY(!sheet->busy());
            QCOMPARE(prompts_.shown.last(), text(comms::kMsgResetDone));
        }
        config_.pumpCalibration[0] = 120;
        app::CalibrationSheetSetup setup{doc_, usTexts_, true, nullptr,
                                         QStringLiteral("From Editor")};
        app::CalibrationSheet sheet(setup, &prompts_);
        sheet.show();
        QCOMPARE(sheet.findChild<QLineEdit*>(QStringLiteral("calibration1"))->text(),
                 QStringLiteral("1.20"));
        shoot(sheet, QStringLiteral("calibration-american.png"));
    }

    void theEditorsPumpShowsAmericanFlowsAsOunces() {
        config_.pumpCalibration[0] = 1250;
        app::EditorContext context(doc_, usTexts_);
        context.american = true;
        app::PumpView view(context);
        view.refresh();
        QStringList labels;
        for (const QLabel* label : view.findChildren<QLabel*>()) {
            labels << label->text();
        }
        QVERIFY2(labels.contains(QStringLiteral("12.50 fl oz/min")),
                 qPrintable(labels.join(QLatin1Char('|'))));
    }

  private:
    std::unique_ptr<app::CalibrationSheet> makeSheet(comms::CalibrationSession* unit) {
        prompts_ = ScriptedSheet{};
        app::CalibrationSheetSetup setup{
            doc_, texts_, false, unit,
            unit ? QStringLiteral("Dosing Controller - 123456789") : QStringLiteral("From Editor")};
        return std::make_unique<app::CalibrationSheet>(setup, &prompts_);
    }
    static QPushButton* button(QWidget& sheet, const char* name) {
        return sheet.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    static QLineEdit* edit(QWidget& sheet, const char* name) {
        return sheet.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void leave(QWidget* field) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &out);
    }
    QString text(int id) const { return QString::fromStdString(texts_.text(id)); }
    // The unit's memory file in a folder of its own; the simulator's files go beside it.
    std::filesystem::path unitDir() const {
        const std::filesystem::path dir =
            env_.path().toStdString() + "/unit" + std::to_string(++units_);
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "unit.json")
            << nlohmann::json{{"pin", 1234},
                              {"unitType", 3},
                              {"globals", {{"pumpSpeeds", {55, 65}}}},
                              {"calibration", {{{"volume", 0}}, {{"volume", 120}}}}}
                   .dump();
        return dir;
    }

    AppTestEnv env_;
    platform::LanguageCatalog texts_ = englishTexts();
    platform::LanguageCatalog usTexts_ = *platform::LanguageCatalog::load(QELTO_US_CATALOG);
    model::NoPumpNameDefaults noNames_;
    model::CProgData config_;
    model::CQeltoDoc doc_;
    ScriptedSheet prompts_;
    mutable int units_ = 0;
};

}  // namespace qelto::test

QTEST_MAIN(qelto::test::CalibrationSheetTest)
#include "calibration_sheet_test.moc"
