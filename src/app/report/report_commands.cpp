#include "app/report/report_commands.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <ctime>

#include "app/report/report_texts.h"
#include "app/report/report_view.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "comms/unit_report_page.h"

namespace qelto::app {
namespace {

reports::PageMoment localMoment() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace

ReportCommands::ReportCommands(MainWindow& window, ShellContext& context, ShellPrompts& prompts)
    : QObject(&window),
      window_(window),
      context_(context),
      view_(new ReportView(context.language, prompts)) {
    window_.setView(kReportSlot, view_);
    view_->setDocumentReport([this] { showDocumentReport(); });

    auto* menu = new QMenu(context_.text(text::kMenuReport), &window_);
    menu->setObjectName(QStringLiteral("reportMenu"));
    menu->addActions(view_->commandActions());
    QMenuBar* bar = window_.menuBar();
    QAction* before = nullptr;
    for (QAction* action : bar->actions()) {
        if (action->text() == context_.text(text::kMenuView)) {
            before = action;
            break;
        }
    }
    bar->insertMenu(before, menu);
}

reports::PageContext ReportCommands::pageContext() const {
    reports::PageContext page;
    page.text = [this](int id) { return context_.language.text(id); };
    page.usUnits = context_.settings.language == platform::kAmericanEnglish;
    page.now = localMoment();
    return page;
}

// The dishwash editor on screen decides; from any other view, the kind of unit the document
// was last saved for.
bool ReportCommands::documentIsDishwash() const {
    const int current = window_.currentViewIndex();
    if (current == kDishwashSlot || current == kEditorSlot) {
        return current == kDishwashSlot;
    }
    return model::isDishwashView(context_.doc.viewToShow());
}

void ReportCommands::show(const std::string& page) {
    window_.SwitchView(kReportSlot);
    view_->showReport(page);
}

void ReportCommands::showDocumentReport() {
    // An entry still being typed belongs in the report: leaving the field stores it.
    if (QWidget* focus = QApplication::focusWidget(); focus != nullptr && focus != view_) {
        focus->clearFocus();
    }
    const reports::PageContext page = pageContext();
    show(documentIsDishwash()
             ? reports::renderDishwashSettings(context_.doc.dishwash(), context_.config, page)
             : reports::renderLaundrySettings(context_.config, reports::REP_FROM_MEMORY, page));
}

void ReportCommands::showUnitReport(const comms::UnitReport& report) {
    show(comms::renderUnitReport(report, pageContext()));
}

void ReportCommands::showTextDump(const std::vector<std::string>& lines) {
    show(reports::renderTextDump(lines, pageContext()));
}

void ReportCommands::setReadFromUnit(std::function<void()> read) {
    view_->setReadFromUnit(std::move(read));
}

}  // namespace qelto::app
