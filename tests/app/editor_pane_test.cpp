// The editor pane driven as an engineer would, checking the configuration record afterwards.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QSpinBox>
#include <QTest>

#include "app/editor/global_view.h"
#include "app/editor/trigger_view.h"
#include "app_test_env.h"
#include "editor_test_fixture.h"

using qelto::test::EditorFixture;

class EditorPaneTest : public QObject {
    Q_OBJECT

    qelto::test::AppTestEnv env_;

  private Q_SLOTS:
    void fieldsKeepToTheirRangesAndTouchNothingElse() {
        EditorFixture f;
        qelto::app::GlobalView* global = f.pane->globalView();
        global->pinBox(0)->setValue(12345);
        QCOMPARE(f.config.pin[0], 9999);
        global->accessCodeBox()->selectAll();
        QTest::keyClicks(global->accessCodeBox(), QStringLiteral("150"));
        QCOMPARE(f.config.accessCode, 15);  // a third digit does not fit 0..99
        global->resetDelayEdit()->secondsBox()->setValue(75);
        QCOMPARE(f.config.resetDelayTime.seconds, 59);
        global->speedBox(0)->setValue(10);
        QCOMPARE(f.config.pumpSpeed[0], 30);
        QTest::keyClicks(global->customerName1Edit(), QStringLiteral("Hotel Fjellstue Nord"));
        QCOMPARE(std::string(qelto::model::textOf(f.config.customerName1)), "Hotel Fjellstue ");
        QTest::keyClicks(global->pumpNameEdit(1), QStringLiteral("S"));
        QTest::sendKeyEvent(QTest::Click, global->pumpNameEdit(1), Qt::Key_unknown,
                            QStringLiteral("ä"), Qt::NoModifier);
        QCOMPARE(f.config.pumpName[1], std::string("S\xE4"));  // Latin-1 in the record

        f.config.pumpCalibration[1] = 120;  // pump 2 doses a volume, pump 1 runs for a time
        f.select(f.tree()->triggerItem(3, 2));
        qelto::app::TriggerView* view = f.pane->triggerView();
        QVERIFY(!view->doseBox(0)->isVisibleTo(view));
        QVERIFY(view->doseBox(1)->isVisibleTo(view));
        view->delayEdit(0)->minutesBox()->setValue(120);
        view->runEdit(0)->secondsBox()->setValue(61);
        view->doseBox(1)->setValue(60000);
        view->pulseCountBox()->setValue(3);
        QCOMPARE(f.config.programs[3][2][0].delayTime.minutes, 99);
        QCOMPARE(f.config.programs[3][2][0].runTime.seconds, 59);
        QCOMPARE(f.config.programs[3][2][1].dose, 50000u);
        QCOMPARE(f.config.pulseCount[3][2], 3);
        QCOMPARE(f.config.programs[3][1][0].delayTime.minutes, 0);
        QCOMPARE(f.config.pulseCount[3][1], 1);
        QVERIFY(f.doc.isModified());
    }

    // A program pastes onto a program or its trigger; anything else on the clipboard (text, a
    // program number no record has, a copied pump, trigger or unit) is refused and changes nothing.
    void onlyAProgramPastesAndAClearKeepsItsDoses() {
        EditorFixture f;
        f.config.progName[2] = "Towels";
        f.config.pumpEnabled[2][4][1] = 1;
        f.config.programs[2][4][1] = {{2, 5, 0}, {1, 0, 0}, 321};
        f.config.pulseCount[2][4] = 2;
        f.tree()->rebuild();
        const auto before = f.config.programs;
        QApplication::clipboard()->setText(QStringLiteral("not a program"));
        f.select(f.tree()->programItem(5));
        f.tree()->pasteOnSelected();
        auto* foreign = new QMimeData;
        foreign->setData(QStringLiteral("application/x-qelto-program"),
                         QByteArray("\x19\0\0\0", 4));
        QApplication::clipboard()->setMimeData(foreign);
        f.tree()->pasteOnSelected();
        for (QTreeWidgetItem* copied :
             {f.tree()->pumpItem(0), f.tree()->triggerItem(0, 0), f.tree()->topLevelItem(0)}) {
            f.select(copied);
            f.tree()->copySelected();
            f.select(f.tree()->programItem(5));
            f.tree()->pasteOnSelected();
        }
        QCOMPARE(f.messages, QStringList(5, QString::fromStdString(f.texts.text(292))));
        QVERIFY(f.config.programs == before);
        QVERIFY(!f.doc.isModified());

        f.select(f.tree()->programItem(2));
        f.tree()->copySelected();
        QCOMPARE(QApplication::clipboard()->mimeData()->data(
                     QStringLiteral("application/x-qelto-program")),
                 QByteArray("\x02\x00\x00\x00", 4));
        f.select(f.tree()->triggerItem(4, 0));
        f.tree()->pasteOnSelected();
        // What a copy and a clear do to the record is ProgData's; the tree adds the name.
        QCOMPARE(f.config.progName[4], std::string("Towels"));
        QVERIFY(f.config.programs[4] == f.config.programs[2]);
        QVERIFY(f.doc.isModified());

        f.select(f.tree()->programItem(4));
        f.answerYes = false;
        f.tree()->clearSelected();
        QCOMPARE(f.config.progName[4], std::string("Towels"));
        f.answerYes = true;
        f.tree()->clearSelected();
        QCOMPARE(f.config.progName[4], std::string());
        QCOMPARE(f.config.pumpEnabled[4][4][1], 0);
        QCOMPARE(f.config.programs[4][4][1].dose, 321u);
    }

    void americanModeShowsDosesAsHundredths() {
        EditorFixture f(true);
        f.config.pumpCalibration[0] = 90;
        f.config.programs[0][0][0].dose = 1234;
        f.select(f.tree()->triggerItem(0, 0));
        QDoubleSpinBox* dose = f.pane->triggerView()->doseBox(0);
        QCOMPARE(dose->text(), QStringLiteral("12.34"));
        dose->setValue(5.5);
        QCOMPARE(f.config.programs[0][0][0].dose, 550u);
        dose->setValue(999.99);
        QCOMPARE(f.config.programs[0][0][0].dose, 50000u);
    }
};

QTEST_MAIN(EditorPaneTest)
#include "editor_pane_test.moc"
