// The report view in view slot 3 and the window's Report menu: a report of the open document, a
// report read from a unit (through the communications dialog's operation 323) and the view's own
// commands.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "comms/unit_report.h"
#include "reports/report_pages.h"

namespace qelto::app {

class MainWindow;
class ReportView;
class ShellPrompts;
struct ShellContext;

class ReportCommands final : public QObject {
    Q_OBJECT

  public:
    // The window and the context must outlive the commands; the window owns the view.
    ReportCommands(MainWindow& window, ShellContext& context, ShellPrompts& prompts);

    ReportView* view() { return view_; }
    // Draws the report a unit gave, switches to the report view and shows it.
    void showUnitReport(const comms::UnitReport& report);
    // The text an older unit printed about its memory, as a page in the report view.
    void showTextDump(const std::vector<std::string>& lines);
    // The report of the open document: the dishwash page for a dishwash unit, else the laundry
    // settings page.
    void showDocumentReport();
    // What "read report from the unit" runs: the communications dialog's operation 323.
    void setReadFromUnit(std::function<void()> read);

  private:
    reports::PageContext pageContext() const;
    bool documentIsDishwash() const;
    void show(const std::string& page);

    MainWindow& window_;
    ShellContext& context_;
    ReportView* view_;
};

}  // namespace qelto::app
