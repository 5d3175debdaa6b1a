// The dishwash editor: typing within the record's ranges, an output's two numbers through a saved
// file, and the file remembering that it belongs to this editor.
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "app/forms/dishwash_editor.h"
#include "app_test_env.h"
#include "forms_test_support.h"

namespace qelto::test {

class DishwashEditorTest : public QObject {
    Q_OBJECT

  public:
    DishwashEditorTest() : doc_(config_, noNames_) {}

  private Q_SLOTS:
    void init() {
        doc_.onNewDocument();
        editor_ = std::make_unique<app::DishwashEditor>(doc_, texts_);
        editor_->show();
    }
    void cleanup() { editor_.reset(); }

    void editsLandWithinTheirRanges() {
        QSignalSpy modified(editor_.get(), &app::DishwashEditor::documentModified);
        const auto& data = doc_.dishwash();
        // A new document is mode 0, whose second pump runs at 75 %.
        QCOMPARE(box("pumpSpeed2")->value(), 75);
        // The digit that would pass 100 % never gets in.
        typeInto(box("pumpSpeed1"), QStringLiteral("101"));
        QCOMPARE(data.DW_PumpSpeed[0], 10);
        QVERIFY(doc_.isModified());
        typeInto(box("pumpSpeed1"), QStringLiteral("60"));
        QCOMPARE(data.DW_PumpSpeed[0], 60);
        QVERIFY(doc_.isModified());
        QVERIFY(modified.count() >= 1);

        typeInto(box("outputStartFirst2"), QStringLiteral("24"));  // no 24th hour
        QCOMPARE(data.DW_IOTime[1].third, 2);
        typeInto(box("outputStartSecond2"), QStringLiteral("59"));
        QCOMPARE(data.DW_IOTime[1].minutes, 59);

        auto* serial = editor_->findChild<QLineEdit*>(QStringLiteral("serialNumber"));
        serial->clear();
        QTest::keyClicks(serial, QStringLiteral("123456789"));  // nine digits: eight fit
        QCOMPARE(std::string(model::textOf(data.DW_SerialNo)), std::string("12345678"));
    }

    void outputNumbersAndTheViewSurviveAFile() {
        typeInto(box("outputStartFirst1"), QStringLiteral("12"));
        typeInto(box("outputStartSecond1"), QStringLiteral("34"));
        typeInto(box("pumpSpeed3"), QStringLiteral("55"));
        const auto file = std::filesystem::path(env_.path().toStdString()) / "dish.qlf";
        QVERIFY(doc_.onSaveDocument(file).ok);

        model::CProgData otherConfig;
        model::CQeltoDoc other(otherConfig, noNames_);
        other.onNewDocument();
        app::DishwashEditor reopened(other, texts_);
        QVERIFY(other.onOpenDocument(file).ok());
        QVERIFY(app::DishwashEditor::documentAsksForDishwash(other));
        reopened.reload();
        auto find = [&](const char* name) {
            return reopened.findChild<QSpinBox*>(QString::fromLatin1(name))->value();
        };
        QCOMPARE(find("outputStartFirst1"), 12);
        QCOMPARE(find("outputStartSecond1"), 34);
        QCOMPARE(find("pumpSpeed3"), 55);
        QVERIFY(!other.isModified());

        // Saved while another view is shown, the file is a laundry unit's again.
        editor_->hide();
        QVERIFY(doc_.onSaveDocument(file).ok);
        QVERIFY(other.onOpenDocument(file).ok());
        QVERIFY(!app::DishwashEditor::documentAsksForDishwash(other));
    }

    void picture() { saveShot(*editor_, QStringLiteral("dishwash_editor")); }

  private:
    QSpinBox* box(const char* name) {
        return editor_->findChild<QSpinBox*>(QString::fromLatin1(name));
    }

    AppTestEnv env_;
    platform::LanguageCatalog texts_ = englishTexts();
    model::NoPumpNameDefaults noNames_;
    model::CProgData config_;
    model::CQeltoDoc doc_;
    std::unique_ptr<app::DishwashEditor> editor_;
};

}  // namespace qelto::test

QTEST_MAIN(qelto::test::DishwashEditorTest)
#include "forms_dishwash_test.moc"
