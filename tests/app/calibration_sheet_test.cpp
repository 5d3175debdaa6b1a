// The pump calibration sheet over qelto-unitsim: the values it reads and writes, and a run stopped
// with Escape while the window keeps running. A run left to its end is the calibration session's
// test and qeltoctl pump run's.
#include "app/calibration/calibration_sheet.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <nlohmann/json.hpp>

#include "app/calibration/pump_calibrate_page.h"
#include "app_test_env.h"
#include "comms/calibration_session.h"
#include "comms/scripted_prompts.h"
#include "forms_test_support.h"
#include "support/sim_link.h"
#include "support/unit_memory.h"

namespace qelto::test {

// Answers the sheet's questions yes and remembers every text it was shown.
class ScriptedSheet final : public app::SheetPrompts {
  public:
    QStringList shown;
    bool askYesNo(const comms::Question&) override { return true; }
    void messageText(const std::string& text, comms::MessageIcon) override {
        shown << QString::fromStdString(text);
    }
    void message(const QString& text, const QString&, comms::MessageIcon) override {
        shown << text;
    }
};

// A unit on qelto-unitsim, the real serial code to it, and a calibration session over it.
struct UnitOnSim {
    SimLink unit;
    protocol::CommsData data;
    ScriptedPrompts prompts;
    std::unique_ptr<comms::OperationContext> context;
    std::unique_ptr<comms::CalibrationSession> session;

    UnitOnSim(model::CQeltoDoc& doc, const std::filesystem::path& dir)
        : unit(dir, stateOptions(dir, unitMemory())) {
        data.connection.rememberedPin = 1234;
        context = std::make_unique<comms::OperationContext>(comms::OperationContext{
            doc, *unit.link, data, prompts, [](int id) { return std::to_string(id); }, 1, {}});
        context->sleep = [](std::chrono::milliseconds) {};
        session = std::make_unique<comms::CalibrationSession>(*context);
    }
    nlohmann::json after() { return unit.sim.stopAndDump(); }
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
        sheet.reset();

        const auto memory = unit.after();
        QCOMPARE(memory["calibration"][0]["volume"].get<int>(), 250);
        const auto runs = memory["pumpRuns"];
        QCOMPARE(runs.size(), std::size_t{2});
        QCOMPARE(runs[0]["pump"].get<int>(), 1);
        QCOMPARE(runs[0]["speed"].get<int>(), 65);
        QCOMPARE(runs[1]["seconds"].get<int>(), 0);
    }

  private:
    std::unique_ptr<app::CalibrationSheet> makeSheet(comms::CalibrationSession* unit) {
        prompts_ = ScriptedSheet{};
        app::CalibrationSheetSetup setup{doc_, texts_, false, unit,
                                         QStringLiteral("Dosing Controller - 123456789")};
        return std::make_unique<app::CalibrationSheet>(setup, &prompts_);
    }
    static QPushButton* button(QWidget& sheet, const char* name) {
        return sheet.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    static QLineEdit* edit(QWidget& sheet, const char* name) {
        return sheet.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QString text(int id) const { return QString::fromStdString(texts_.text(id)); }
    std::filesystem::path unitDir() const { return env_.path().toStdString(); }

    AppTestEnv env_;
    platform::LanguageCatalog texts_ = englishTexts();
    model::NoPumpNameDefaults noNames_;
    model::CProgData config_;
    model::CQeltoDoc doc_;
    ScriptedSheet prompts_;
};

}  // namespace qelto::test

QTEST_MAIN(qelto::test::CalibrationSheetTest)
#include "calibration_sheet_test.moc"
