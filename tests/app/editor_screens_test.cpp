// Pictures of the editor pane with each view selected, in metric and American mode, and of the
// program popup. Every label and button must get at least the room it asks for, so no text is
// cut off. The pictures go to QELTO_SHOT_DIR when it is set, else into the test's own folder.
#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "app/editor/global_view.h"
#include "app/editor/trigger_view.h"
#include "app_test_env.h"
#include "editor_test_fixture.h"

using qelto::test::EditorFixture;

class EditorScreensTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void eachViewFitsItsTexts();
    void programPopup();

  private:
    QString shotPath(const QString& name) const {
        const QString dir = qEnvironmentVariableIsSet("QELTO_SHOT_DIR")
                                ? qEnvironmentVariable("QELTO_SHOT_DIR")
                                : env_.path();
        QDir().mkpath(dir);
        return dir + QLatin1Char('/') + name;
    }
    static void checkNothingClipped(QWidget* view);
    qelto::test::AppTestEnv env_;
};

void EditorScreensTest::checkNothingClipped(QWidget* view) {
    const auto widgets = view->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!widget->isVisibleTo(view) || (qobject_cast<QLabel*>(widget) == nullptr &&
                                           qobject_cast<QAbstractButton*>(widget) == nullptr)) {
            continue;
        }
        const QSize wanted = widget->minimumSizeHint();
        QVERIFY2(widget->width() >= wanted.width() && widget->height() >= wanted.height(),
                 qPrintable(QStringLiteral("%1 \"%2\" is %3x%4, needs %5x%6")
                                .arg(QString::fromLatin1(widget->metaObject()->className()),
                                     widget->property("text").toString())
                                .arg(widget->width())
                                .arg(widget->height())
                                .arg(wanted.width())
                                .arg(wanted.height())));
    }
}

void EditorScreensTest::eachViewFitsItsTexts() {
    for (const bool american : {false, true}) {
        EditorFixture f(american);
        f.config.progName[1] = "Towels";
        f.config.pumpName = {"Detergent", "Alkali", "Bleach", "Softener"};
        f.config.pumpCalibration[2] = 150;
        f.config.pumpEnabled[1][0][0] = 1;
        f.config.pumpEnabled[1][0][2] = 1;
        f.config.programs[1][0][2].dose = 2575;
        qelto::model::setText(f.config.customerName1, "Hotel Nord");
        f.pane->reload();
        f.pane->resize(1000, 720);
        f.pane->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.pane.get()));
        const QString suffix = american ? QStringLiteral("-us") : QString();
        const std::pair<QTreeWidgetItem*, QString> views[] = {
            {f.tree()->topLevelItem(0), QStringLiteral("global")},
            {f.tree()->programItem(1), QStringLiteral("program")},
            {f.tree()->triggerItem(1, 0), QStringLiteral("trigger")},
            {f.tree()->pumpItem(2), QStringLiteral("pump")},
        };
        for (const auto& [item, name] : views) {
            f.select(item);
            QTest::qWait(20);
            checkNothingClipped(f.pane->currentView());
            QVERIFY(
                f.pane->grab().save(shotPath(QStringLiteral("editor-%1%2.png").arg(name, suffix))));
        }
    }
}

void EditorScreensTest::programPopup() {
    EditorFixture f;
    f.pane->show();
    std::unique_ptr<QMenu> menu(f.tree()->contextMenuFor(f.tree()->programItem(0)));
    menu->adjustSize();
    menu->popup(f.pane->mapToGlobal(QPoint(60, 60)));
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    checkNothingClipped(menu.get());
    QVERIFY(menu->grab().save(shotPath(QStringLiteral("editor-program-menu.png"))));
    menu->close();
}

QTEST_MAIN(EditorScreensTest)
#include "editor_screens_test.moc"
