// The report options dialog's rules as the engineer meets them, and the report view: pages of a
// document and of a unit, saving with the support files, the edited comment, clearing, the
// temporary files, the workbook export and printing to PDF.
#include "app/report/report_view.h"

#include <QAction>
#include <QDateEdit>
#include <QMenuBar>
#include <QPainter>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimeEdit>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/report/report_commands.h"
#include "app/report/report_options_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "app_test_env.h"
#include "comms/scripted_prompts.h"
#include "comms/unit_session.h"
#include "forms_test_support.h"
#include "reports/xlsx_archive.h"
#include "screen_shots.h"
#include "shell_fake_prompts.h"
#include "support/sim_process.h"

namespace qelto::test {
namespace {

std::string readAll(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A usage report of a unit with two calibrated pumps and one timed pump, split into two shifts.
comms::UnitReport usageReport() {
    comms::UnitReport report;
    report.kind = reports::REP_TYPE_LAUNDRY_CYCLES;
    report.pumpCount = 4;
    report.unit.unitType = 3;
    model::setText(report.unit.customerName1, "Hotel Sud");
    model::setText(report.unit.SerialNoUnit, "204511873");
    report.unit.progName[0] = "Towels";
    const std::array<std::uint32_t, 3> amounts{182400, 64250, 3 * 65536 + 20 * 256 + 5};
    for (std::size_t row : {std::size_t{0}, std::size_t{20}}) {
        for (std::size_t pump = 0; pump < amounts.size(); ++pump) {
            reports::UsageCell cell;
            cell.cycle = static_cast<std::uint16_t>(40 + pump);
            cell.setTime(row == 0 ? amounts[pump] / 2 : amounts[pump]);
            report.data.programs[row].setUsage(pump, cell);
            report.data.programs[row].setFlowRate(pump, pump < 2 ? 120 : 0);
        }
    }
    report.data.programPresent[0] = 1;
    report.options.fromDay = *reports::julianDay(1, 11, 2026);
    report.options.toDay = *reports::julianDay(30, 11, 2026);
    report.options.reportFrom = {1, 11, 26};
    report.options.reportTo = {30, 11, 26};
    return report;
}

}  // namespace

class ReportViewTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void optionsDialogKeepsItsValuesConsistent() {
        const reports::CalendarDate today{2026, 3, 15};
        app::ReportOptionsDialog dialog(texts_, today, 10 * 3600 + 30 * 60);
        auto* from = dialog.findChild<QDateEdit*>(QStringLiteral("fromDate"));
        auto* to = dialog.findChild<QDateEdit*>(QStringLiteral("toDate"));
        auto* start1 = dialog.findChild<QTimeEdit*>(QStringLiteral("shift1Start"));
        auto* end1 = dialog.findChild<QTimeEdit*>(QStringLiteral("shift1End"));
        auto* start3 = dialog.findChild<QTimeEdit*>(QStringLiteral("shift3Start"));
        auto* twoShifts = dialog.findChild<QRadioButton*>(QStringLiteral("shifts1"));

        // It opens on a date range of today alone, without shifts.
        QVERIFY(dialog.findChild<QRadioButton*>(QStringLiteral("kind1"))->isChecked());
        QVERIFY(from->isEnabled());
        QVERIFY(!to->isEnabled());
        QVERIFY(!start1->isEnabled());
        comms::ReportRequest request = dialog.request();
        QCOMPARE(request.resultCode, reports::kReadDateRange);
        QVERIFY(request.options.fromDay != 0);
        QCOMPARE(request.options.fromDay, request.options.toDay);

        // A From after today snaps back to today; moving it back opens the To date.
        from->setDate(QDate(2026, 4, 2));
        QCOMPARE(from->date(), QDate(2026, 3, 15));
        from->setDate(QDate(2026, 3, 1));
        QVERIFY(to->isEnabled());
        to->setDate(QDate(2026, 2, 1));
        QCOMPARE(to->date(), QDate(2026, 3, 1));

        // Two shifts open shifts 1 and 2 only; an end before its start becomes the start.
        twoShifts->click();
        QVERIFY(start1->isEnabled());
        QVERIFY(!start3->isEnabled());
        start1->setTime(QTime(14, 0));
        end1->setTime(QTime(6, 0));
        QCOMPARE(end1->time(), QTime(14, 0));
        request = dialog.request();
        QCOMPARE(request.options.shiftChoice, reports::kTwoShifts);
        QCOMPARE(request.options.shifts[0].start, 14u * 3600);
        QCOMPARE(request.options.shifts[0].end, 14u * 3600);
        shot(dialog, QStringLiteral("report_options_dialog"));

        // The settings report locks the range and the shifts.
        dialog.findChild<QRadioButton*>(QStringLiteral("kind2"))->click();
        QVERIFY(!from->isEnabled());
        QVERIFY(!start1->isEnabled());
        QVERIFY(!twoShifts->isEnabled());
        QCOMPARE(dialog.request().resultCode, reports::kReadSettings);
        dialog.findChild<QRadioButton*>(QStringLiteral("kind0"))->click();
        request = dialog.request();
        QCOMPARE(request.resultCode, reports::kReadTotals);
        QCOMPARE(request.options.toDay, 0u);
    }

    void init() {
        std::filesystem::remove(platform::settingsFile());
        auto catalog = platform::LanguageCatalog::loadForSetting(1);
        platform::SettingsStore store;
        context_ = std::make_unique<app::ShellContext>(store, store.load(), std::move(*catalog));
        prompts_ = FakePrompts();
        window_ = std::make_unique<app::MainWindow>(*context_, prompts_);
        commands_ = std::make_unique<app::ReportCommands>(*window_, *context_, prompts_);
        view_ = commands_->view();
        view_->setWorkbookOpener([this](const QUrl& url) {
            opened_ << url.toLocalFile();
            return false;
        });
        window_->resize(1100, 820);
        window_->show();
    }
    void cleanup() {
        commands_.reset();
        window_.reset();
    }

    void theDocumentsSettingsPageShowsInTheReportMenusView() {
        model::setText(context_->config.customerName1, "Laundry <North>");
        const QList<QAction*> menus = window_->menuBar()->actions();
        const auto report = std::find_if(menus.begin(), menus.end(), [](QAction* a) {
            return a->menu() != nullptr && a->menu()->objectName() == QStringLiteral("reportMenu");
        });
        QVERIFY(report != menus.end());
        QCOMPARE((*(report + 1))->text(), context_->text(app::text::kMenuView));

        window_->findChild<QAction*>(QStringLiteral("reportOfDocument"))->trigger();
        QCOMPARE(window_->currentViewIndex(), static_cast<int>(app::kReportSlot));
        const QString shown = view_->browser()->toPlainText();
        QVERIFY(shown.contains(QStringLiteral("Laundry <North>")));
        QVERIFY2(!shown.contains(QStringLiteral("EXCEL")), "cell tags must not show");
        shot(*window_, QStringLiteral("report_view_settings"));

        // From the dishwash editor the same command draws the dishwash page.
        window_->SwitchView(app::kDishwashSlot);
        window_->findChild<QAction*>(QStringLiteral("reportOfDocument"))->trigger();
        QVERIFY(readAll(view_->pagePath()).find("<EXCEL CELL=\"A9\" CONTENT=\"1\"></EXCEL>") !=
                std::string::npos);
        shot(*window_, QStringLiteral("report_view_dishwash"));
    }

    void aUnitsUsageReportShowsItsChartAndAReplacedReportLeavesNoFile() {
        commands_->showUnitReport(usageReport());
        const QString first = view_->pagePath();
        QVERIFY(QFileInfo::exists(first));
        QVERIFY(view_->browser()->toPlainText().contains(QStringLiteral("Hotel Sud")));
        QVERIFY2(!view_->browser()->toHtml().contains(QStringLiteral("<svg")),
                 "the chart shows as a picture");
        QVERIFY(view_->browser()->toHtml().contains(QStringLiteral("qelto-chart:0")));
        shot(*window_, QStringLiteral("report_view_usage"));

        comms::UnitReport settings;
        model::setText(settings.unit.SerialNoUnit, "55501");
        commands_->showUnitReport(settings);
        QVERIFY(!QFileInfo::exists(first));
        QVERIFY(view_->browser()->toPlainText().contains(QStringLiteral("55501")));
        const QString second = view_->pagePath();
        commands_.reset();
        window_.reset();
        QVERIFY2(!QFileInfo::exists(second), "the view takes its temporary file with it");
    }

    // The whole road of a dated usage report: the options dialog's request, the read from the
    // simulated unit, the page in the view.
    void aUsageReportReadFromTheSimulatedUnitShows() {
        const auto dir = std::filesystem::path(env_.path().toStdString());
        const QDate today = QDate::currentDate();
        const std::string first = today.addDays(-40).toString(Qt::ISODate).toStdString();
        std::ofstream(dir / "unit.json")
            << "{\"pin\": 1234, \"unitType\": 3, \"serial\": 204511873,"
               " \"calibration\": [{\"volume\": 0}, {\"volume\": 120}, {\"volume\": 95}],"
               " \"programNames\": [\"Towels\", \"Sheets & pillows\"],"
               " \"customerLines\": [\"Hotel Sud\", \"Laundry 2\"],"
               " \"usage\": {\"generate\": {\"seed\": 11, \"first\": \""
            << first << "\", \"days\": 40, \"washesPerDay\": 6}}}";
        SimProcess sim(dir, QELTO_UNITSIM_PATH, {"--state", (dir / "unit.json").string()});

        app::ReportOptionsDialog dialog(texts_, {today.year(), today.month(), today.day()},
                                        6 * 3600);
        dialog.findChild<QDateEdit*>(QStringLiteral("fromDate"))->setDate(today.addDays(-30));
        dialog.findChild<QRadioButton*>(QStringLiteral("shifts1"))->click();
        dialog.findChild<QTimeEdit*>(QStringLiteral("shift1End"))->setTime(QTime(13, 59));
        dialog.findChild<QTimeEdit*>(QStringLiteral("shift2Start"))->setTime(QTime(14, 0));
        dialog.findChild<QTimeEdit*>(QStringLiteral("shift2End"))->setTime(QTime(23, 59));

        ScriptedPrompts prompts;
        prompts.pin = 1234;
        prompts.report = dialog.request();
        comms::UnitSession session([this](int id) { return context_->language.text(id); });
        comms::UnitChoice choice;
        choice.link.port = sim.portPath();
        std::optional<comms::UnitReport> report;
        session.run(choice, context_->doc, prompts, [&report](comms::OperationContext& c) {
            comms::ReportOutcome outcome = comms::reportFromUnit(c);
            report = outcome.report;
            return outcome.result;
        });
        QVERIFY(report.has_value());
        commands_->showUnitReport(*report);
        QCOMPARE(window_->currentViewIndex(), static_cast<int>(app::kReportSlot));
        const QString shown = view_->browser()->toPlainText();
        QVERIFY(shown.contains(QStringLiteral("Sheets & pillows")));
        QVERIFY(view_->browser()->toHtml().contains(QStringLiteral("qelto-chart:")));
        shot(*window_, QStringLiteral("report_view_unit_usage"));
        sim.stop();
    }

    void anEditedCommentIsEscapedAndClearingWithCancelKeepsIt() {
        window_->findChild<QAction*>(QStringLiteral("reportOfDocument"))->trigger();
        const QString original = view_->pagePath();
        QString shownToEditor;
        view_->setCommentEditor([&](QWidget*, const QString& comment) {
            shownToEditor = comment;
            return std::optional<QString>(QStringLiteral("Pump 2 <script>x</script>\nTube & clip"));
        });
        QVERIFY(view_->editComment());
        QVERIFY(view_->isModified());
        const QString copy = view_->pagePath();
        QVERIFY(copy != original);
        const std::string page = readAll(copy);
        QVERIFY(page.find("Pump 2 &lt;script&gt;x&lt;/script&gt;<BR>Tube &amp; clip") !=
                std::string::npos);
        QVERIFY(page.find("<script>") == std::string::npos);
        QVERIFY(
            view_->browser()->toPlainText().contains(QStringLiteral("Pump 2 <script>x</script>")));

        // The edit reaches the spreadsheet's cell too, and comes back as lines.
        QVERIFY(page.find("CELL=\"A100\" CONTENT=\"Pump 2 (script)x(/script);  Tube + clip\""
                          "></EXCEL>") != std::string::npos);
        QVERIFY2(page.find("</EXCEL></EXCEL>") == std::string::npos, "one closing per tag");
        QVERIFY(view_->editComment());
        QCOMPARE(shownToEditor, QStringLiteral("Pump 2 <script>x</script>\nTube & clip"));
        QVERIFY2(!QFileInfo::exists(copy), "a second edit replaces the first copy");

        prompts_.answers = {app::Answer::Cancel};
        const QString edited = view_->pagePath();
        QVERIFY(!view_->clearReport());
        QCOMPARE(prompts_.asked.size(), 1);
        QCOMPARE(view_->pagePath(), edited);
        QVERIFY(view_->isModified());
        QVERIFY(QFileInfo::exists(edited));

        prompts_.answers = {app::Answer::No};
        QVERIFY(view_->clearReport());
        QVERIFY(!view_->isModified());
        QVERIFY(!QFileInfo::exists(edited));
        QVERIFY(view_->pagePath().isEmpty());
    }

    void saveKeepsThePageWithItsSupportFiles() {
        commands_->showUnitReport(usageReport());
        view_->setCommentEditor(
            [](QWidget*, const QString&) { return std::optional<QString>(QStringLiteral("ok")); });
        QVERIFY(view_->editComment());
        prompts_.files = {env_.path() + QStringLiteral("/saved/week48")};
        QDir().mkpath(env_.path() + QStringLiteral("/saved"));
        QVERIFY(view_->saveReport());
        const QString folder = env_.path() + QStringLiteral("/saved/week48/");
        QVERIFY(QFileInfo(folder + QStringLiteral("week48.htm")).size() > 0);
        QVERIFY(QFileInfo(folder + QStringLiteral("QeltoPrint.css")).size() > 0);
        QVERIFY(QFileInfo(folder + QStringLiteral("QeltoLogo.svg")).size() > 0);
        QVERIFY(readAll(folder + QStringLiteral("week48.htm")).find("<INS id=\"comment\">ok") !=
                std::string::npos);
        QVERIFY(!view_->isModified());
        QCOMPARE(view_->pagePath(), folder + QStringLiteral("week48.htm"));
        QVERIFY(prompts_.told.last().contains(QStringLiteral("QeltoPrint.css")));

        // The saved page opens again as it was.
        QVERIFY(view_->clearReport());
        prompts_.files = {folder + QStringLiteral("week48.htm")};
        QVERIFY(view_->openSavedReport());
        QVERIFY(view_->browser()->toPlainText().contains(QStringLiteral("Hotel Sud")));
    }

    void exportFillsTheWorkbookAndPrintingMakesAPdf() {
        model::setText(context_->config.customerName1, "Hotel & Spa");
        window_->findChild<QAction*>(QStringLiteral("reportOfDocument"))->trigger();
        const QString xlsx = env_.path() + QStringLiteral("/export");
        prompts_.files = {xlsx};
        QVERIFY(view_->exportToSpreadsheet());
        QCOMPARE(opened_, QStringList{xlsx + QStringLiteral(".xlsx")});
        QVERIFY2(prompts_.told.last().contains(QStringLiteral("export.xlsx")),
                 "without a program to open it, the engineer learns where the workbook is");
        std::string error;
        const auto book =
            reports::XlsxArchive::open((xlsx + QStringLiteral(".xlsx")).toStdString(), error);
        QVERIFY2(book.has_value(), error.c_str());
        const auto sheet = book->read("xl/worksheets/sheet1.xml", error);
        QVERIFY2(sheet.has_value(), error.c_str());
        // Cell A9 says the page is a laundry unit's; the customer arrives as typed.
        QVERIFY(sheet->find(R"(<c r="A9"><v>0</v></c>)") != std::string::npos);
        QVERIFY(sheet->find("Hotel &amp; Spa") != std::string::npos);

        // A usage page prints with its charts.
        commands_->showUnitReport(usageReport());
        const QString pdf = env_.path() + QStringLiteral("/page.pdf");
        prompts_.files = {pdf};
        QVERIFY(view_->printToPdf());
        const std::string bytes = readAll(pdf);
        QVERIFY(bytes.rfind("%PDF", 0) == 0);
        QVERIFY2(bytes.find("/Subtype /Image") != std::string::npos, "the charts are printed");
    }

  private:
    // Pictures of what the engineer sees; for the report view also the whole page, as it scrolls.
    void shot(QWidget& widget, const QString& name) {
        QCoreApplication::processEvents();
        QVERIFY(widget.grab().save(shotPath(env_.path(), name)));
        if (view_ != nullptr && widget.isAncestorOf(view_)) {
            QTextDocument* document = view_->browser()->document();
            QImage page(document->size().toSize(), QImage::Format_RGB32);
            page.fill(Qt::white);
            QPainter painter(&page);
            document->drawContents(&painter);
            QVERIFY(page.save(shotPath(env_.path(), name + QStringLiteral("_page"))));
        }
    }

    AppTestEnv env_;
    platform::LanguageCatalog texts_ = englishTexts();
    std::unique_ptr<app::ShellContext> context_;
    FakePrompts prompts_;
    std::unique_ptr<app::MainWindow> window_;
    std::unique_ptr<app::ReportCommands> commands_;
    app::ReportView* view_ = nullptr;
    QStringList opened_;
};

}  // namespace qelto::test

QTEST_MAIN(qelto::test::ReportViewTest)
#include "report_view_test.moc"
