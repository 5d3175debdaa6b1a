// The older laundry unit's form: what typing does to the record's legacy image, a value beyond its
// range that holds the write, and the commands against qelto-unitsim's older laundry unit: a write
// that lands in the unit, and a read cancelled or closed while the unit talks that changes nothing.
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <nlohmann/json.hpp>

#include "app/comms/older_unit_dialog.h"
#include "app/forms/legacy_laundry_form.h"
#include "app_test_env.h"
#include "forms_test_support.h"
#include "model/legacy_config.h"
#include "support/sim_process.h"
#include "support/unit_memory.h"

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

    void writeSendsTheFormAfterYes() {
        auto sim = startUnit("1.0.9");
        DialogAnswers answers(4321);
        QSignalSpy finished(form_.get(), &app::LegacyLaundryForm::operationFinished);
        typeInto(box("accessCode"), QStringLiteral("42"));

        form_->writeButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QCOMPARE(answers.shown().first(), QString::fromStdString(texts_.text(255)));
        QVERIFY(answers.shown().contains(QString::fromStdString(texts_.text(258))));
        const auto unit = sim->stopAndDump();
        QCOMPARE(unit.at("config").at("accessCode").get<int>(), 42);
        QCOMPARE(unit.at("config").at("pumpSpeed").get<int>(), 80);  // the new document's
    }

  private:
    QSpinBox* box(const char* name) {
        return form_->findChild<QSpinBox*>(QString::fromLatin1(name));
    }

    std::unique_ptr<SimProcess> startUnit(const std::string& version,
                                          std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"--kind", "legacy-laundry"});
        auto sim = SimProcess::withMemory(env_.path().toStdString(), QELTO_UNITSIM_PATH,
                                          legacyLaundryMemory(version), extra);
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
