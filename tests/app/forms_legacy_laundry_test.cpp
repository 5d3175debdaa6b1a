// The older laundry unit's form: what typing does to the record's legacy image, an opened file
// shown again, and the three commands against qelto-unitsim's older laundry unit on the unit
// session's port, with the window still running while the unit talks.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/comms/older_unit_dialog.h"
#include "app/forms/legacy_laundry_form.h"
#include "app_test_env.h"
#include "forms_test_support.h"
#include "model/legacy_config.h"
#include "platform/settings_store.h"
#include "support/sim_process.h"

namespace qelto::test {

class LegacyLaundryFormTest : public QObject {
    Q_OBJECT

  public:
    LegacyLaundryFormTest() : doc_(config_, noNames_) {}

  private Q_SLOTS:
    void init() {
        doc_.onNewDocument();
        form_ = std::make_unique<app::LegacyLaundryForm>(doc_, texts_, session_);
        form_->show();
    }
    void cleanup() { form_.reset(); }

    void numbersOutsideTheirRangeAreRefused() {
        QSignalSpy modified(form_.get(), &app::LegacyLaundryForm::documentModified);
        auto* speed = box("pumpSpeed");
        typeInto(speed, QStringLiteral("25"));  // below 30
        typeInto(speed, QStringLiteral("101"));
        QCOMPARE(config_.legacyConfig[model::lc::kPumpSpeed], 80);  // the new document's
        QVERIFY(!doc_.isModified());
        QCOMPARE(modified.count(), 0);

        typeInto(speed, QStringLiteral("30"));
        QCOMPARE(config_.legacyConfig[model::lc::kPumpSpeed], 30);
        typeInto(speed, QStringLiteral("100"));
        QCOMPARE(config_.legacyConfig[model::lc::kPumpSpeed], 100);
        QVERIFY(doc_.isModified());
        QVERIFY(modified.count() >= 2);

        // The fifth digit of a PIN and the second of "60" seconds never get in.
        typeInto(box("pin2"), QStringLiteral("10000"));
        QCOMPARE(model::legacyPin(config_.legacyConfig, 1), 1000);
        typeInto(box("resetSeconds"), QStringLiteral("60"));
        QCOMPARE(config_.legacyConfig[model::lc::kResetDelayTime + 1], 6);
        typeInto(box("flushMinutes"), QStringLiteral("99"));
        QCOMPARE(config_.legacyConfig[model::lc::kFlushValveTime], 99);
        // Setting minutes and seconds leaves the unit's third byte alone.
        QCOMPARE(config_.legacyConfig[model::lc::kFlushValveTime + 2], 0);
    }

    void textsKeepTheirWidthsAndLatin1() {
        auto* serial = form_->findChild<QLineEdit*>(QStringLiteral("serialNumber"));
        serial->clear();
        QTest::keyClicks(serial, QStringLiteral("12A34567890"));  // ten digits and a letter
        QCOMPARE(serial->text(), QStringLiteral("123456789"));
        const auto& image = config_.legacyConfig;
        QCOMPARE(std::string(image.begin() + 72, image.begin() + 81), std::string("123456789"));
        QCOMPARE(image[81], 0);

        auto* line1 = form_->findChild<QLineEdit*>(QStringLiteral("customer1"));
        line1->setText(QStringLiteral("Caf\u00e9 S\u00fcd"));
        const std::uint8_t expected[] = {'C', 'a', 'f', 0xE9, ' ', 'S', 0xFC, 'd', 0};
        QVERIFY(std::equal(std::begin(expected), std::end(expected), image.begin()));
        line1->setText(QStringLiteral("ABCDEFGHIJKLMNOPQRS"));  // 19 characters: 16 fit
        QCOMPARE(image[15], 'P');
        QCOMPARE(image[16], 0);
        QCOMPARE(image[17], 0);  // the second line is untouched
    }

    void reloadShowsAnOpenedDocument() {
        model::CProgData other;
        model::CQeltoDoc otherDoc(other, noNames_);
        otherDoc.onNewDocument();
        auto& image = other.legacyConfig;
        model::setLegacyTime(image, model::lc::kResetDelayTime, 2, 5);
        image[model::lc::kPumpSpeed] = 55;
        image[model::lc::kUnitType] = 7;
        image[model::lc::kResetDelayOff] = 1;
        model::setLegacyPin(image, 1, 2222);
        const char serial[] = "987654321";
        std::copy(serial, serial + 9, image.begin() + 72);
        const char name[] = "Hotel Sud";
        std::copy(name, name + 9, image.begin());
        const auto file = std::filesystem::path(env_.path().toStdString()) / "legacy.qlf";
        QVERIFY(otherDoc.onSaveDocument(file).ok);

        QVERIFY(doc_.onOpenDocument(file).ok());
        form_->reload();
        QCOMPARE(box("pumpSpeed")->value(), 55);
        QCOMPARE(box("resetMinutes")->value(), 2);
        QCOMPARE(box("resetSeconds")->value(), 5);
        QCOMPARE(box("pin2")->value(), 2222);
        QCOMPARE(form_->findChild<QComboBox*>(QStringLiteral("unitType"))->currentData().toInt(),
                 7);
        QVERIFY(form_->findChild<QCheckBox*>(QStringLiteral("resetDelayOff"))->isChecked());
        QCOMPARE(form_->findChild<QLineEdit*>(QStringLiteral("serialNumber"))->text(),
                 QStringLiteral("987654321"));
        QCOMPARE(form_->findChild<QLineEdit*>(QStringLiteral("customer1"))->text(),
                 QStringLiteral("Hotel Sud"));
        QVERIFY(!doc_.isModified());  // showing is not editing
    }

    void valuesBeyondTheirRangeAreShownMarkedAndHoldTheWrite() {
        auto& image = config_.legacyConfig;
        image[model::lc::kPumpSpeed] = 25;
        image[model::lc::kResetDelayTime + 1] = 75;
        model::setLegacyPin(image, 1, 12345);
        form_->reload();
        const model::LegacyConfig asRead = image;
        const struct {
            const char* box;
            int value;
            const char* text;
            int max;
        } fields[] = {
            {"resetSeconds", 75, "Reset delay (min:sec) holds 75, outside its range 0 to 59", 59},
            {"pumpSpeed", 25, "Pump speed (%) holds 25, outside its range 30 to 100", 100},
            {"pin2", 12345, "PIN 2 holds 12345, outside its range 0 to 9999", 9999}};
        for (const auto& field : fields) {
            QCOMPARE(box(field.box)->value(), field.value);
            QVERIFY2(box(field.box)->toolTip().startsWith(QString::fromLatin1(field.text)),
                     qPrintable(box(field.box)->toolTip()));
        }
        typeInto(box("accessCode"), QStringLiteral("42"));  // another field: nothing is clamped
        image[model::lc::kAccessCode] = asRead[model::lc::kAccessCode];
        QVERIFY(image == asRead);

        DialogAnswers answers;
        form_->writeButton()->click();
        QTRY_COMPARE(answers.shown().size(), 1);
        QVERIFY(answers.shown().first().startsWith(QString::fromLatin1(fields[0].text)));
        QVERIFY(!form_->busy());

        for (const auto& field : fields) {
            typeInto(box(field.box), QStringLiteral("55"));
            QCOMPARE(box(field.box)->toolTip(), QString());
            QCOMPARE(box(field.box)->maximum(), field.max);  // refuses more again once corrected
        }
    }

    void readFillsTheFormFromTheSessionsPortWhileTheWindowKeepsRunning() {
        // Paced at 9600 baud with its program names and comments, the read takes seconds. The
        // settings file names another port: the form talks on the session's.
        auto sim = startUnit("1.1.0", {"--pace"});
        platform::Settings onDisk;
        onDisk.serPort = env_.path().toStdString() + "/ttyNotThisOne";
        QVERIFY(platform::SettingsStore().save(onDisk));
        DialogAnswers answers(4321);
        QSignalSpy finished(form_.get(), &app::LegacyLaundryForm::operationFinished);
        int ticksWhileTalking = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] {
            if (form_->busy() &&
                qobject_cast<app::OlderUnitDialog*>(QApplication::activeModalWidget()) != nullptr) {
                ++ticksWhileTalking;
            }
        });
        ticker.start(10);

        // The success message comes over the form already showing what was read.
        int speedWhenTold = 0;
        answers.onMessage([&] { speedWhenTold = box("pumpSpeed")->value(); });

        form_->readButton()->click();
        QVERIFY(form_->busy());
        QVERIFY(!form_->writeButton()->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);

        QVERIFY2(ticksWhileTalking > 20, qPrintable(QString::number(ticksWhileTalking)));
        QCOMPARE(speedWhenTold, 90);
        QCOMPARE(box("pumpSpeed")->value(), 90);
        QCOMPARE(box("resetMinutes")->value(), 2);  // 125 seconds
        QCOMPARE(box("resetSeconds")->value(), 5);
        QCOMPARE(box("runMinutes")->value(), 1);
        QCOMPARE(box("runSeconds")->value(), 15);
        QCOMPARE(box("pin3")->value(), 3333);
        QCOMPARE(form_->findChild<QLineEdit*>(QStringLiteral("customer2"))->text(),
                 QStringLiteral("Laundry 2"));
        QCOMPARE(config_.legacyConfig[model::lc::kAccessCode], 12);
        QVERIFY(config_.progName[0].starts_with("Towels"));
        QVERIFY(doc_.isModified());
        QVERIFY(answers.shown().contains(QString::fromStdString(texts_.text(256))));
        QVERIFY(form_->writeButton()->isEnabled());
    }

    void cancelOrClosingWhileTheUnitTalksEndsCleanly() {
        auto sim = startUnit("1.1.0", {"--pace"});
        DialogAnswers answers(4321);
        QSignalSpy finished(form_.get(), &app::LegacyLaundryForm::operationFinished);
        const model::LegacyConfig before = config_.legacyConfig;
        for (const bool cancel : {true, false}) {
            form_->readButton()->click();
            // Past the password, while the names and comments are still coming in.
            QTRY_VERIFY_WITH_TIMEOUT(answers.shown().size() == (cancel ? 1 : 2), 10000);
            QTest::qWait(300);
            QVERIFY(form_->busy());
            if (cancel) {
                auto* dialog = form_->findChild<app::OlderUnitDialog*>();
                QVERIFY(dialog != nullptr);
                dialog->cancelButton()->click();
                QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 1000);
                QVERIFY(form_->readButton()->isEnabled());
            } else {
                form_.reset();
            }
            // The read was abandoned: no closing message, the document never changed.
            QCOMPARE(answers.shown().size(), cancel ? 1 : 2);
            QVERIFY(config_.legacyConfig == before);
        }
    }

    void refusedPasswordLeavesTheDocumentAlone() {
        auto sim = startUnit("1.0.9");
        DialogAnswers answers(1234);
        QSignalSpy finished(form_.get(), &app::LegacyLaundryForm::operationFinished);
        const model::LegacyConfig before = config_.legacyConfig;

        form_->readButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QVERIFY(answers.shown().contains(QString::fromStdString(texts_.text(158))));
        QVERIFY(config_.legacyConfig == before);
        QVERIFY(!doc_.isModified());
    }

    void writeSendsTheFormAfterYes() {
        auto sim = startUnit("1.0.9");
        DialogAnswers answers(4321);
        QSignalSpy finished(form_.get(), &app::LegacyLaundryForm::operationFinished);
        typeInto(box("accessCode"), QStringLiteral("42"));

        form_->writeButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QCOMPARE(answers.shown().first(), QString::fromStdString(texts_.text(255)));
        QVERIFY(answers.shown().contains(QString::fromStdString(texts_.text(258))));
        sim->stop();
        std::ifstream dump(sim->dumpFile());
        const auto unit = nlohmann::json::parse(dump);
        QCOMPARE(unit.at("config").at("accessCode").get<int>(), 42);
        QCOMPARE(unit.at("config").at("pumpSpeed").get<int>(), 80);  // the new document's
    }

    void aPortThatWillNotOpenIsToldBeforeAnyQuestion() {
        session_.configure({env_.path().toStdString() + "/no-such-port"});
        DialogAnswers answers(4321);
        QSignalSpy finished(form_.get(), &app::LegacyLaundryForm::operationFinished);
        form_->thirdButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QCOMPARE(answers.shown().size(), 1);
        QVERIFY(answers.shown().last().contains(QStringLiteral("no-such-port")));
    }

    void picture() { saveShot(*form_, QStringLiteral("legacy_laundry_form")); }

  private:
    QSpinBox* box(const char* name) {
        return form_->findChild<QSpinBox*>(QString::fromLatin1(name));
    }

    std::unique_ptr<SimProcess> startUnit(const std::string& version,
                                          std::vector<std::string> extra = {}) {
        const auto dir = std::filesystem::path(env_.path().toStdString());
        const auto state = dir / "unit.json";
        using nlohmann::json;
        const json unit{{"version", version},
                        {"password", 4321},
                        {"config",
                         {{"customerLines", {"Hotel Sud", "Laundry 2"}},
                          {"unitType", 7},
                          {"pumpSpeed", 90},
                          {"accessCode", 12},
                          {"resetDelay", 125},
                          {"flushValveTime", 90},
                          {"runTime", {1, 15}},
                          {"pins", {1111, 2222, 3333}},
                          {"auxByte", 9}}},
                        {"programNames", {"Towels", "Sheets"}},
                        {"comments", "Checked on site."}};
        std::ofstream(state) << unit.dump();
        std::vector<std::string> options{"--kind", "legacy-laundry", "--state", state.string()};
        options.insert(options.end(), extra.begin(), extra.end());
        auto sim = std::make_unique<SimProcess>(dir, QELTO_UNITSIM_PATH, options);
        session_.configure({sim->portPath()});
        return sim;
    }

    AppTestEnv env_;
    platform::LanguageCatalog texts_ = englishTexts();
    model::NoPumpNameDefaults noNames_;
    model::CProgData config_;
    model::CQeltoDoc doc_;
    comms::UnitSession session_{[this](int id) { return texts_.text(id); }};
    std::unique_ptr<app::LegacyLaundryForm> form_;
};

}  // namespace qelto::test

QTEST_MAIN(qelto::test::LegacyLaundryFormTest)
#include "forms_legacy_laundry_test.moc"
