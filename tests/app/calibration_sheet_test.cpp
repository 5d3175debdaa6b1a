// The pump calibration sheet with and without qelto-unitsim: the values it reads and writes, a
// run stopped with Escape while the window keeps running, speed rounding with its question, the
// save into the document, and pictures of its pages.
#include "app/calibration/calibration_sheet.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <nlohmann/json.hpp>

#include "app/calibration/pump_calibrate_page.h"
#include "app/editor/editor_context.h"
#include "app/editor/pump_view.h"
#include "app_test_env.h"
#include "comms/calibration_session.h"
#include "comms/scripted_prompts.h"
#include "forms_test_support.h"
#include "platform/serial_port.h"
#include "protocol/packet_link.h"
#include "screen_shots.h"
#include "support/sim_process.h"
#include "support/unit_memory.h"

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

// A unit on qelto-unitsim, the real serial code to it, and a calibration session over it.
struct UnitOnSim {
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<platform::SerialPort> port;
    protocol::LinkState state;
    std::atomic<bool> abort{false};
    std::unique_ptr<protocol::SerialPacketPath> path;
    std::unique_ptr<protocol::PacketLink> link;
    protocol::CommsData data;
    ScriptedPrompts prompts;
    std::unique_ptr<comms::OperationContext> context;
    std::unique_ptr<comms::CalibrationSession> session;

    UnitOnSim(model::CQeltoDoc& doc, const std::filesystem::path& dir)
        : sim(SimProcess::withMemory(dir, QELTO_UNITSIM_PATH, unitMemory())) {
        std::string error;
        port = platform::SerialPort::open(sim->portPath(), 57600, &error);
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
    nlohmann::json after() { return sim->stopAndDump(); }
};

class CalibrationSheetTest : public QObject {
    Q_OBJECT

  public:
    CalibrationSheetTest() : doc_(config_, noNames_) {}

  private Q_SLOTS:
    void init() {
        doc_.onNewDocument();
        doc_.setModifiedFlag(false);
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
        QVERIFY(doc_.isModified());
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
        const auto shoot = [this](QWidget& widget, const QString& name) {
            QVERIFY(widget.grab().save(shotPath(env_.path(), name)));
        };
        {
            UnitOnSim unit(doc_, unitDir());
            auto sheet = makeSheet(unit.session.get());
            sheet->show();
            QTRY_VERIFY(!sheet->busy());
            shoot(*sheet, QStringLiteral("calibration-page"));
            button(*sheet, "run1")->click();
            QTRY_VERIFY(sheet->calibrationPage().running());
            shoot(*sheet, QStringLiteral("calibration-running"));
            QVERIFY(!button(*sheet, "resetWashes")->isEnabled());
            button(*sheet, "stop")->click();
            QTRY_VERIFY(!sheet->busy());
            sheet->tabs().setCurrentIndex(1);
            QVERIFY(!button(*sheet, "resetAll")->isVisible());
            shoot(*sheet, QStringLiteral("calibration-resets"));
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
        shoot(sheet, QStringLiteral("calibration-american"));
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
    std::filesystem::path unitDir() const { return env_.path().toStdString(); }

    AppTestEnv env_;
    platform::LanguageCatalog texts_ = englishTexts();
    platform::LanguageCatalog usTexts_ = *platform::LanguageCatalog::load(QELTO_US_CATALOG);
    model::NoPumpNameDefaults noNames_;
    model::CProgData config_;
    model::CQeltoDoc doc_;
    ScriptedSheet prompts_;
};

}  // namespace qelto::test

QTEST_MAIN(qelto::test::CalibrationSheetTest)
#include "calibration_sheet_test.moc"
