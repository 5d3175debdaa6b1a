// The window's Older units menu under qelto --simulate, against qelto-unitsim's older laundry
// unit and then its older dishwash unit: every command runs on the simulated port and its result
// lands where it belongs (the older laundry form, the report view, the dishwash editor, the
// differences list).
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/comms/differences_dialog.h"
#include "app/report/report_commands.h"
#include "app/report/report_view.h"
#include "app/shell/main_window.h"
#include "app/shell/qelto_application.h"
#include "app/shell/shell_context.h"
#include "app/shell/simulated_unit.h"
#include "app/shell/window_commands.h"
#include "app_test_env.h"
#include "forms_test_support.h"
#include "shell_fake_prompts.h"

using namespace qelto;
using nlohmann::json;

class OlderUnitsMenuTest : public QObject {
    Q_OBJECT

    test::AppTestEnv env_;

    // The simulator as this run's unit, started the way qelto --simulate-kind KIND starts it.
    std::unique_ptr<app::SimulatedSession> simulate(app::QeltoApplication& qelto,
                                                    test::FakePrompts& prompts,
                                                    const std::string& kind, const json& unit) {
        const QString state = env_.path() + QStringLiteral("/%1.json").arg(kind.c_str());
        std::ofstream(state.toStdString()) << unit.dump();
        return app::startSimulatedSession(*qelto.context(), *qelto.window(), prompts,
                                          QFileInfo(QStringLiteral(QELTO_UNITSIM_PATH)).path(),
                                          {QStringLiteral("--kind"), QString::fromStdString(kind),
                                           QStringLiteral("--state"), state});
    }

    // Runs a menu command and waits until its dialog has gone again.
    static void run(app::MainWindow& window, const char* command) {
        QAction* action = window.findChild<QAction*>(QString::fromLatin1(command));
        QVERIFY2(action != nullptr && action->isEnabled(), command);
        action->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(
            window.findChild<QDialog*>(QStringLiteral("olderUnitDialog")) == nullptr, 30000);
    }

    static QString reportPage(app::QeltoApplication& qelto) {
        QFile page(qelto.commands()->report().view()->pagePath());
        return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
    }

  private Q_SLOTS:
    void everyOlderUnitCommandRunsOnTheSimulatedPort() {
        platform::Settings english;
        english.language = 1;  // no language question at the first start
        QVERIFY(platform::SettingsStore().save(english));
        test::FakePrompts prompts;
        app::QeltoApplication qelto(
            prompts, QStringLiteral("qelto-older-test-%1").arg(QCoreApplication::applicationPid()));
        QCOMPARE(qelto.InitInstance({}), app::QeltoApplication::Start::Running);
        app::MainWindow& window = *qelto.window();
        model::CQeltoDoc& doc = qelto.context()->doc;
        const platform::LanguageCatalog& texts = qelto.context()->language;
        auto shown = [&texts](int id) { return QString::fromStdString(texts.text(id)); };
        test::DialogAnswers answers(4321);

        auto laundry =
            simulate(qelto, prompts, "legacy-laundry",
                     {{"version", "1.0.9"},
                      {"password", 4321},
                      {"config", {{"customerLines", {"Hotel Sud", ""}}, {"pumpSpeed", 90}}},
                      {"dumpText", "RAM ok\r\n"},
                      {"usage", {{"pumpCount", 1}, {"totalCycles", 321}}}});
        QVERIFY2(laundry != nullptr, qPrintable(prompts.warned.join(QLatin1Char('\n'))));

        run(window, "olderRead");
        QCOMPARE(window.currentViewIndex(), int(app::kLegacyFormSlot));
        QCOMPARE(window.view(app::kLegacyFormSlot)
                     ->findChild<QSpinBox*>(QStringLiteral("pumpSpeed"))
                     ->value(),
                 90);
        QCOMPARE(answers.shown().last(), shown(256));
        run(window, "olderWrite");
        QCOMPARE(answers.shown().last(), shown(258));
        run(window, "olderThirdCommand");
        QCOMPARE(answers.shown().last(), shown(258));
        run(window, "olderUsage");
        QCOMPARE(window.currentViewIndex(), int(app::kReportSlot));
        QVERIFY(reportPage(qelto).contains(QStringLiteral("321")));
        run(window, "olderTextDump");
        QVERIFY(reportPage(qelto).contains(QStringLiteral("RAM ok")));
        laundry.reset();

        auto dishwash = simulate(
            qelto, prompts, "legacy-dishwash",
            {{"version", "1.0.9"},
             {"dishwash", {{"numPumps", 2}, {"pumps", {{{"speed", 60}}, {{"speed", 70}}}}}}});
        QVERIFY(dishwash != nullptr);
        run(window, "olderDishwashRead");
        QCOMPARE(window.currentViewIndex(), int(app::kDishwashSlot));
        QCOMPARE(doc.dishwash().DW_PumpSpeed[1], 70);
        run(window, "olderDishwashVerify");
        QCOMPARE(answers.shown().last(), shown(342));

        // A setting changed since the read shows in the differences list.
        doc.dishwash().DW_PumpSpeed[1] = 75;
        int differences = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&differences] {
            if (auto* list =
                    qobject_cast<app::DifferencesDialog*>(QApplication::activeModalWidget())) {
                differences = list->list()->topLevelItemCount();
                list->accept();
            }
        });
        closer.start(20);
        run(window, "olderDishwashVerify");
        QCOMPARE(answers.shown().last(), shown(363));
        QTRY_COMPARE(differences, 1);
        dishwash.reset();
        qelto.ExitInstance();
    }
};

QTEST_MAIN(OlderUnitsMenuTest)
#include "forms_legacy_menu_test.moc"
