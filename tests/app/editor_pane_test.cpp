// The editor pane driven as an engineer would, checking the configuration record afterwards.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "app/editor/global_view.h"
#include "app/editor/nav_icons.h"
#include "app/editor/program_view.h"
#include "app/editor/pump_view.h"
#include "app/editor/trigger_view.h"
#include "app_test_env.h"
#include "editor_test_fixture.h"

using qelto::app::NavTree;
using qelto::test::EditorFixture;

class EditorPaneTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void globalFieldsKeepToTheirRanges();
    void triggerFieldsKeepToTheirRanges();
    void enablingAPumpLightsItsTriggerAndProgramWithinTheType();
    void copyAndPasteAProgram();
    void pastingAnythingButAProgramChangesNothing();
    void droppingAProgramCopiesItAfterAsking();
    void clearingAProgramKeepsItsDoses();
    void renamingAProgramAndAPump();
    void choosingAModelSetsPumpsTriggersAndRanges();
    void americanModeShowsDosesAsHundredths();

  private:
    qelto::test::AppTestEnv env_;
};

void EditorPaneTest::globalFieldsKeepToTheirRanges() {
    EditorFixture f;
    QSignalSpy modified(f.pane.get(), &qelto::app::EditorPane::documentModified);
    qelto::app::GlobalView* view = f.pane->globalView();
    QCOMPARE(f.pane->currentView(), view);

    view->pinBox(0)->setValue(12345);
    QCOMPARE(f.config.pin[0], 9999);
    view->accessCodeBox()->selectAll();
    QTest::keyClicks(view->accessCodeBox(), QStringLiteral("150"));
    QCOMPARE(f.config.accessCode, 15);  // a third digit does not fit 0..99
    view->resetDelayEdit()->secondsBox()->setValue(75);
    QCOMPARE(f.config.resetDelayTime.seconds, 59);
    view->speedBox(0)->setValue(10);
    QCOMPARE(f.config.pumpSpeed[0], 30);
    QTest::keyClicks(view->customerName1Edit(), QStringLiteral("Hotel Fjellstue Nord"));
    QCOMPARE(std::string(qelto::model::textOf(f.config.customerName1)), "Hotel Fjellstue ");
    QTest::keyClicks(view->pumpNameEdit(1), QStringLiteral("S"));
    QTest::sendKeyEvent(QTest::Click, view->pumpNameEdit(1), Qt::Key_unknown, QStringLiteral("ä"),
                        Qt::NoModifier);
    QTest::keyClicks(view->pumpNameEdit(1), QStringLiteral("ure"));
    QCOMPARE(f.config.pumpName[1], std::string("S\xE4ure"));  // Latin-1 in the record
    QCOMPARE(f.tree()->pumpItem(1)->text(0), QStringLiteral("Pump 02: Säure"));

    QVERIFY(f.doc.isModified());
    QVERIFY(modified.count() > 0);
}

void EditorPaneTest::triggerFieldsKeepToTheirRanges() {
    EditorFixture f;
    f.config.pumpCalibration[1] = 120;  // pump 2 doses a volume, pump 1 runs for a time
    f.select(f.tree()->triggerItem(3, 2));
    qelto::app::TriggerView* view = f.pane->triggerView();
    QCOMPARE(f.pane->currentView(), view);
    QVERIFY(view->runEdit(0)->isVisibleTo(view));
    QVERIFY(!view->doseBox(0)->isVisibleTo(view));
    QVERIFY(view->doseBox(1)->isVisibleTo(view));

    view->delayEdit(0)->minutesBox()->setValue(120);
    view->runEdit(0)->secondsBox()->setValue(61);
    view->doseBox(1)->setValue(60000);
    view->pulseCountBox()->setValue(3);
    const qelto::model::PumpStep& first = f.config.programs[3][2][0];
    QCOMPARE(first.delayTime.minutes, 99);
    QCOMPARE(first.runTime.seconds, 59);
    QCOMPARE(f.config.programs[3][2][1].dose, 50000u);
    QCOMPARE(f.config.pulseCount[3][2], 3);
    // Nothing else moved.
    QCOMPARE(f.config.programs[3][1][0].delayTime.minutes, 0);
    QCOMPARE(f.config.pulseCount[3][1], 1);
    QVERIFY(f.doc.isModified());
}

void EditorPaneTest::enablingAPumpLightsItsTriggerAndProgramWithinTheType() {
    EditorFixture f;
    QCOMPARE(NavTree::imageOf(f.tree()->programItem(1)), qelto::app::kImageProgram);
    f.select(f.tree()->triggerItem(1, 2));
    QTest::mouseClick(f.pane->triggerView()->enabledBox(0), Qt::LeftButton);
    QCOMPARE(f.config.pumpEnabled[1][2][0], 1);
    QCOMPARE(NavTree::imageOf(f.tree()->triggerItem(1, 2)), qelto::app::kImageTriggerActive);
    QCOMPARE(NavTree::imageOf(f.tree()->triggerItem(1, 1)), qelto::app::kImageTrigger);
    QCOMPARE(NavTree::imageOf(f.tree()->programItem(1)), qelto::app::kImageProgramActive);
    QCOMPARE(NavTree::imageOf(f.tree()->programItem(0)), qelto::app::kImageProgram);
    QVERIFY(f.doc.isModified());
    QTest::mouseClick(f.pane->triggerView()->enabledBox(0), Qt::LeftButton);
    QCOMPARE(f.config.pumpEnabled[1][2][0], 0);
    QCOMPARE(NavTree::imageOf(f.tree()->programItem(1)), qelto::app::kImageProgram);

    // Triggers and pumps beyond the unit type are not consulted.
    f.config.pumpEnabled[0][9][0] = 1;  // trigger 10
    f.config.pumpEnabled[1][0][5] = 1;  // pump 6 of a four-pump unit
    f.doc.setTriggerCount(8);
    f.tree()->rebuild();
    QCOMPARE(f.tree()->programItem(0)->childCount(), 8);
    QCOMPARE(NavTree::imageOf(f.tree()->programItem(0)), qelto::app::kImageProgram);
    QCOMPARE(NavTree::imageOf(f.tree()->programItem(1)), qelto::app::kImageProgram);
}

void EditorPaneTest::copyAndPasteAProgram() {
    EditorFixture f;
    f.config.progName[2] = "Towels";
    f.config.pumpEnabled[2][4][1] = 1;
    f.config.programs[2][4][1].dose = 321;
    f.config.pulseCount[2][4] = 2;
    f.tree()->rebuild();
    const auto before = f.config.programs;

    f.select(f.tree()->programItem(2));
    f.tree()->copySelected();
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    QVERIFY(clip->hasFormat(QStringLiteral("application/x-qelto-program")));
    QCOMPARE(clip->data(QStringLiteral("application/x-qelto-program")),
             QByteArray("\x02\x00\x00\x00", 4));

    // Onto itself: nothing changes, not even the modified flag.
    f.tree()->pasteOnSelected();
    QVERIFY(f.config.programs == before);
    QVERIFY(!f.doc.isModified());

    // Pasting on a trigger of program 5 copies onto program 5.
    f.select(f.tree()->triggerItem(4, 0));
    f.tree()->pasteOnSelected();
    QCOMPARE(f.config.progName[4], std::string("Towels"));
    QVERIFY(f.config.programs[4] == f.config.programs[2]);
    QVERIFY(f.config.pumpEnabled[4] == f.config.pumpEnabled[2]);
    QCOMPARE(f.config.pulseCount[4][4], 2);
    QCOMPARE(f.tree()->programItem(4)->text(0), QStringLiteral("Program 05: Towels"));
    QCOMPARE(NavTree::imageOf(f.tree()->programItem(4)), qelto::app::kImageProgramActive);
    QVERIFY(f.doc.isModified());
    QVERIFY(f.messages.isEmpty());

    // The unit and its pumps are no program to paste onto.
    f.select(f.tree()->pumpItem(0));
    f.tree()->pasteOnSelected();
    QCOMPARE(f.config.progName[0], std::string());
}

void EditorPaneTest::pastingAnythingButAProgramChangesNothing() {
    EditorFixture f;
    f.config.progName[0] = "Towels";
    f.config.pumpEnabled[0][0][0] = 1;
    f.tree()->rebuild();
    const auto before = f.config.programs;
    QApplication::clipboard()->setText(QStringLiteral("not a program"));
    f.select(f.tree()->programItem(2));
    f.tree()->pasteOnSelected();
    // Five bits can name programs 21 to 32, which no record has: that is nothing to paste.
    auto* foreign = new QMimeData;
    foreign->setData(QStringLiteral("application/x-qelto-program"), QByteArray("\x19\0\0\0", 4));
    QApplication::clipboard()->setMimeData(foreign);
    f.tree()->pasteOnSelected();
    // A copied pump, trigger or unit is no program either (the first pump once read as program 1).
    for (QTreeWidgetItem* copied :
         {f.tree()->pumpItem(0), f.tree()->triggerItem(0, 0), f.tree()->topLevelItem(0)}) {
        f.select(copied);
        f.tree()->copySelected();
        f.select(f.tree()->programItem(2));
        f.tree()->pasteOnSelected();
    }
    QCOMPARE(f.messages, QStringList(5, QString::fromStdString(f.texts.text(292))));
    QCOMPARE(f.config.progName[2], std::string());
    QVERIFY(f.config.programs == before);
    QVERIFY(!f.doc.isModified());
}

namespace {

void dropOn(NavTree* tree, QTreeWidgetItem* target, quint32 datum) {
    QMimeData mime;
    mime.setData(QStringLiteral("application/x-qelto-program"),
                 QByteArray(reinterpret_cast<const char*>(&datum), 4));
    const QPointF at = tree->visualItemRect(target).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &drop);
}

}  // namespace

void EditorPaneTest::droppingAProgramCopiesItAfterAsking() {
    EditorFixture f;
    f.pane->show();
    f.config.progName[0] = "Sheets";
    f.config.pumpEnabled[0][0][0] = 1;
    f.tree()->rebuild();

    f.answerYes = false;
    dropOn(f.tree(), f.tree()->programItem(3), 0);
    QCOMPARE(f.questions.size(), 1);
    QCOMPARE(f.config.progName[3], std::string());

    dropOn(f.tree(), f.tree()->programItem(0), 0);  // onto itself: not even asked
    QCOMPARE(f.questions.size(), 1);
    f.tree()->programItem(3)->setExpanded(true);
    dropOn(f.tree(), f.tree()->triggerItem(3, 0), 0);  // onto a trigger: nothing
    QCOMPARE(f.questions.size(), 1);

    f.answerYes = true;
    dropOn(f.tree(), f.tree()->programItem(3), 0);
    QCOMPARE(f.questions.size(), 2);
    QCOMPARE(f.questions.last(), QString::fromStdString(f.texts.text(293)));
    QCOMPARE(f.config.progName[3], std::string("Sheets"));
    QCOMPARE(f.config.pumpEnabled[3][0][0], 1);
    QCOMPARE(f.tree()->programItem(3)->text(0), QStringLiteral("Program 04: Sheets"));
    QVERIFY(f.doc.isModified());
}

void EditorPaneTest::clearingAProgramKeepsItsDoses() {
    EditorFixture f;
    f.config.progName[3] = "Kitchen";
    f.config.pumpEnabled[3][1][2] = 1;
    f.config.programs[3][1][2] = {{2, 5, 0}, {1, 0, 0}, 777};
    f.config.pulseCount[3][1] = 4;
    f.tree()->rebuild();
    f.select(f.tree()->programItem(3));

    f.answerYes = false;
    f.tree()->clearSelected();
    QCOMPARE(f.config.progName[3], std::string("Kitchen"));

    f.answerYes = true;
    f.tree()->clearSelected();
    QCOMPARE(f.config.progName[3], std::string());
    QCOMPARE(f.config.pumpEnabled[3][1][2], 0);
    QCOMPARE(f.config.pulseCount[3][1], 1);
    QCOMPARE(f.config.programs[3][1][2].runTime, (qelto::model::MinSec{0, 45, 0}));
    QCOMPARE(f.config.programs[3][1][2].delayTime, (qelto::model::MinSec{0, 0, 0}));
    QCOMPARE(f.config.programs[3][1][2].dose, 777u);
    QCOMPARE(f.tree()->programItem(3)->text(0), QStringLiteral("Program 04"));
    QCOMPARE(NavTree::imageOf(f.tree()->programItem(3)), qelto::app::kImageProgram);
    QVERIFY(f.doc.isModified());
}

void EditorPaneTest::renamingAProgramAndAPump() {
    EditorFixture f;
    f.config.progName[6] = "Old";
    f.tree()->rebuild();
    f.select(f.tree()->programItem(6));
    f.typedName = QStringLiteral("Mops");
    f.tree()->renameSelectedProgram();
    QCOMPARE(f.offeredName, QStringLiteral("Old"));
    QCOMPARE(f.config.progName[6], std::string("Mops"));
    QCOMPARE(f.tree()->programItem(6)->text(0), QStringLiteral("Program 07: Mops"));
    QCOMPARE(f.pane->programView()->nameEdit()->text(), QStringLiteral("Mops"));

    f.select(f.tree()->pumpItem(2));
    QCOMPARE(f.pane->currentView(), f.pane->pumpView());
    f.typedName = QStringLiteral("Bleach");
    f.tree()->renameSelectedPump();
    QCOMPARE(f.config.pumpName[2], std::string("Bleach"));
    QCOMPARE(f.tree()->pumpItem(2)->text(0), QStringLiteral("Pump 03: Bleach"));
    QCOMPARE(f.pane->pumpView()->nameEdit()->text(), QStringLiteral("Bleach"));

    f.typedName.reset();  // Cancel
    f.tree()->renameSelectedPump();
    QCOMPARE(f.config.pumpName[2], std::string("Bleach"));
    QVERIFY(f.doc.isModified());
}

void EditorPaneTest::choosingAModelSetsPumpsTriggersAndRanges() {
    EditorFixture f;
    f.config.pumpSpeed.fill(50);
    QComboBox* type = f.pane->globalView()->unitTypeBox();
    QCOMPARE(type->count(), 10);
    QCOMPARE(type->currentText(), QStringLiteral("L4"));

    Q_EMIT type->activated(5);  // "L6"
    QCOMPARE(f.config.unitType, 5);
    QCOMPARE(f.doc.pumpCount(), 6u);
    QCOMPARE(f.config.pumpSpeed[0], 80);
    QCOMPARE(f.config.pumpSpeed[9], 80);
    QCOMPARE(f.pane->globalView()->rangeBox(0)->count(), 2);
    QVERIFY(f.pane->globalView()->speedBox(5)->isEnabled());
    QVERIFY(!f.pane->globalView()->speedBox(6)->isEnabled());
    QVERIFY(!f.pane->tenTriggerMode());
    QCOMPARE(f.tree()->programItem(0)->childCount(), 10);
    QVERIFY(f.tree()->pumpItem(5) != nullptr);
    QVERIFY(f.tree()->pumpItem(6) == nullptr);

    Q_EMIT type->activated(6);  // "L7"
    QVERIFY(f.pane->tenTriggerMode());
    QCOMPARE(f.pane->globalView()->rangeBox(0)->count(), 4);
    Q_EMIT type->activated(1);  // "L2": ten-trigger mode stays
    QCOMPARE(f.doc.pumpCount(), 2u);
    QCOMPARE(f.pane->globalView()->rangeBox(0)->count(), 4);
    QCOMPARE(f.tree()->programItem(19)->childCount(), 10);
    QVERIFY(f.tree()->pumpItem(2) == nullptr);

    // A code from an older unit shows as its number and counts as ten pumps.
    f.config.unitType = 15;
    f.pane->reload();
    QCOMPARE(type->currentText(), QStringLiteral("15"));
    QCOMPARE(type->count(), 11);
    QVERIFY(f.tree()->pumpItem(9) != nullptr);
    Q_EMIT type->activated(10);  // choosing the number itself changes nothing
    QCOMPARE(f.config.unitType, 15);
    Q_EMIT type->activated(1);
    QCOMPARE(type->count(), 10);

    f.pane->globalView()->rangeBox(0)->setCurrentIndex(1);
    Q_EMIT f.pane->globalView()->rangeBox(0)->activated(1);
    QCOMPARE(f.config.pumpSpeedRange[0], 1u);
    QCOMPARE(f.config.pumpSpeedRange[5], 3u);
    QVERIFY(f.doc.isModified());
}

void EditorPaneTest::americanModeShowsDosesAsHundredths() {
    EditorFixture f(true);
    f.config.pumpCalibration[0] = 90;
    f.config.programs[0][0][0].dose = 1234;
    f.select(f.tree()->triggerItem(0, 0));
    QDoubleSpinBox* dose = f.pane->triggerView()->doseBox(0);
    QCOMPARE(dose->text(), QStringLiteral("12.34"));
    QCOMPARE(dose->maximum(), 500.0);
    dose->setValue(5.5);
    QCOMPARE(f.config.programs[0][0][0].dose, 550u);
    dose->setValue(999.99);
    QCOMPARE(f.config.programs[0][0][0].dose, 50000u);

    f.pane->setAmericanMode(false);
    QCOMPARE(dose->text(), QStringLiteral("50000"));
}

QTEST_MAIN(EditorPaneTest)
#include "editor_pane_test.moc"
