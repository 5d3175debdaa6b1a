// The chemical names dialog over a catalogue file written here by hand: what the pump selectors
// offer, the list edits, and what OK leaves in the file.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "app/forms/chemical_names_dialog.h"
#include "app_test_env.h"
#include "forms_test_support.h"
#include "platform/profile_file.h"

namespace qelto::test {

class ChemicalNamesDialogTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        file_ = std::filesystem::path(env_.path().toStdString()) / "qelto.ini";
        std::ofstream(file_) << "[System Settings]\nNoOfChemicals=5\nMaxPumps=10\n"
                                "[Chemical Names]\nChemical01=Alkali\nChemical02=Detergent\n"
                                "Chemical03=Sour\nChemical04=Softener\nChemical05=Bleach\n"
                                "[L04]\nP01=Detergent\n";
    }

    void pumpSelectorsOfferTheStoredDefaultFirst() {
        app::ChemicalNamesDialog dialog(texts_, 3, file_);
        QComboBox* first = dialog.pumpBox(0);
        QCOMPARE(first->currentText(), QStringLiteral("Detergent"));
        QCOMPARE(first->itemText(1), QStringLiteral("No Chemical"));
        QCOMPARE(first->itemText(2), QStringLiteral("Pump 01"));
        QCOMPARE(first->itemText(3), QStringLiteral("Alkali"));
        QCOMPARE(first->count(), 3 + 5);
        // No default stored: the no-chemical entry leads.
        QCOMPARE(dialog.pumpBox(1)->currentText(), QStringLiteral("No Chemical"));
        QCOMPARE(dialog.pumpBox(9)->itemText(1), QStringLiteral("Pump 10"));
        // Model L4 has four pumps.
        QVERIFY(dialog.pumpBox(3)->isEnabled());
        QVERIFY(!dialog.pumpBox(4)->isEnabled());
    }

    void shortenedListLeavesEmptyKeysBehind() {
        DialogAnswers answers;
        {
            app::ChemicalNamesDialog dialog(texts_, 3, file_);
            dialog.chemicalList()->setCurrentRow(3);
            dialog.deleteButton()->click();
            dialog.chemicalList()->setCurrentRow(3);
            dialog.deleteButton()->click();
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        const platform::ProfileFile ini(file_);
        QCOMPARE(ini.readString("System Settings", "NoOfChemicals"), std::string("3"));
        QCOMPARE(ini.readString("System Settings", "MaxPumps"), std::string("10"));
        QCOMPARE(ini.readString("Chemical Names", "Chemical03"), std::string("Sour"));
        QCOMPARE(ini.readString("Chemical Names", "Chemical04", "missing"), std::string());
        QCOMPARE(ini.readString("Chemical Names", "Chemical05", "missing"), std::string());
        // The pump defaults were not touched, so they are not rewritten.
        QCOMPARE(ini.readString("L04", "P02", "missing"), std::string("missing"));
        QVERIFY(answers.shown().isEmpty());
    }

    void addUpdateAndDeleteEditTheList() {
        DialogAnswers answers;
        app::ChemicalNamesDialog dialog(texts_, 3, file_);
        QListWidget* list = dialog.chemicalList();
        list->setCurrentRow(1);
        dialog.nameEdit()->setText(QStringLiteral("Caustic"));
        dialog.addButton()->click();
        QCOMPARE(list->item(1)->text(), QStringLiteral("Caustic"));
        QCOMPARE(list->currentRow(), 2);  // the entry it was put before
        dialog.nameEdit()->clear();
        dialog.addButton()->click();  // six entries before it
        QCOMPARE(list->item(2)->text(), QStringLiteral("Chemical  6"));
        list->setCurrentRow(-1);
        dialog.addButton()->click();
        QCOMPARE(list->item(list->count() - 1)->text(), QStringLiteral("Chemical  0"));
        // New names are offered to the pumps at once.
        QVERIFY(dialog.pumpBox(0)->findText(QStringLiteral("Caustic")) >= 0);

        list->setCurrentRow(0);
        dialog.updateButton()->click();
        QCOMPARE(dialog.nameEdit()->text(), QStringLiteral("Alkali"));
        QCOMPARE(dialog.updateButton()->text(), QStringLiteral("Update"));
        dialog.nameEdit()->setText(QStringLiteral("Alkali forte"));
        dialog.updateButton()->click();
        QCOMPARE(list->item(0)->text(), QStringLiteral("Alkali forte"));
        QVERIFY(dialog.updateButton()->text() != QStringLiteral("Update"));

        while (list->count() > 0) {
            list->setCurrentRow(0);
            dialog.deleteButton()->click();
        }
        QCOMPARE(answers.shown(), QStringList{QString::fromStdString(texts_.text(395))});
    }

    void changedDefaultsAreOfferedForSavingOnAnotherModel() {
        DialogAnswers answers;
        app::ChemicalNamesDialog dialog(texts_, 3, file_);
        dialog.pumpBox(1)->setCurrentIndex(dialog.pumpBox(1)->findText(QStringLiteral("Sour")));
        dialog.unitTypeBox()->setCurrentIndex(0);  // L1, one pump
        QCOMPARE(answers.shown(), QStringList{QString::fromStdString(texts_.text(346))});
        const platform::ProfileFile ini(file_);
        QCOMPARE(ini.readString("L04", "P01"), std::string("Detergent"));
        QCOMPARE(ini.readString("L04", "P02"), std::string("Sour"));
        QCOMPARE(ini.readString("L04", "P03"), std::string("No Chemical"));
        QVERIFY(dialog.pumpBox(0)->isEnabled());
        QVERIFY(!dialog.pumpBox(1)->isEnabled());
        QCOMPARE(dialog.pumpBox(0)->currentText(), QStringLiteral("No Chemical"));
        dialog.show();
        saveShot(dialog, QStringLiteral("chemical_names_dialog"));
    }

  private:
    AppTestEnv env_;
    platform::LanguageCatalog texts_ = englishTexts();
    std::filesystem::path file_;
};

}  // namespace qelto::test

QTEST_MAIN(qelto::test::ChemicalNamesDialogTest)
#include "forms_chemical_names_test.moc"
