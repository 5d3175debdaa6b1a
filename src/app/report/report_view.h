// The report view (view slot 3): shows the current report page and carries the report commands:
// read a new report from a unit, open a saved one, save it with its support files, print it (or
// print it into a PDF), clear it, edit its comment and export its values to a workbook.
//
// A report made here lives in a temporary file that goes with it: the view keeps at most one,
// and an edited comment lives in a second temporary, the edited copy, for as long as the page
// counts as modified.
#pragma once

#include <QPageLayout>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "platform/language_catalog.h"
#include "reports/report_file.h"

class QAction;
class QTextBrowser;
class QToolBar;
class QUrl;

namespace qelto::app {

class ShellPrompts;

class ReportView final : public QWidget {
    Q_OBJECT

  public:
    ReportView(const platform::LanguageCatalog& texts, ShellPrompts& prompts,
               QWidget* parent = nullptr);
    ~ReportView() override;

    // A new report: replaces (and deletes) the temporaries of the last one and shows the page.
    // False, after saying why, when the page could not be written.
    bool showReport(const std::string& page);
    // Shows a page the engineer saved earlier; the file stays where it is.
    bool showSavedReport(const QString& path);

    // The commands. Each returns false when it did not happen (cancelled or failed).
    bool readReportFromUnit();
    bool openSavedReport();
    bool saveReport();
    bool printReport();
    // Paper, orientation and margins for the next prints; kept while the window is open.
    bool printSetup();
    bool printToPdf();
    bool clearReport();
    bool editComment();
    bool exportToSpreadsheet();

    bool isModified() const { return edited_.has_value(); }
    // The page shown; empty when none is.
    const QString& pagePath() const { return path_; }
    QTextBrowser* browser() const { return browser_; }
    // The commands in the order of the tool bar, for the window's Report menu.
    QList<QAction*> commandActions() const;

    // What the hooks do is the window's business: a report of the document, a read from a unit.
    void setDocumentReport(std::function<void()> report) { documentReport_ = std::move(report); }
    void setReadFromUnit(std::function<void()> read) { readFromUnit_ = std::move(read); }
    // The comment dialog: the comment as plain lines in, the edited lines out, nullopt when the
    // engineer cancels.
    using CommentEditor = std::function<std::optional<QString>(QWidget*, const QString&)>;
    void setCommentEditor(CommentEditor editor) { commentEditor_ = std::move(editor); }
    // Opens a written workbook with the desktop's program for it; false when there is none.
    void setWorkbookOpener(std::function<bool(const QUrl&)> opener) {
        openWorkbook_ = std::move(opener);
    }

  private:
    // A command of the Report menu; bar is null for one that stays off the tool bar, which must
    // fit the window in every language.
    QAction* addCommand(QToolBar* bar, const char* name, int textId);
    // Cancel ends the command; Yes saves first; Yes and No drop the edited copy.
    bool settleModified(int promptId);
    void dropEditedCopy();
    std::optional<std::string> pageText();
    bool needPage();
    void display(const QString& path);
    void displayEmpty();
    std::optional<reports::ReportFile> writeTemporary(const std::string& page);
    QString text(int id) const;

    const platform::LanguageCatalog& texts_;
    ShellPrompts& prompts_;
    QTextBrowser* browser_;
    QList<QAction*> actions_;
    std::optional<reports::ReportFile> report_;  // the last report made here
    std::optional<reports::ReportFile> edited_;  // the page with an edited comment
    QString path_;                               // the page shown
    QString beforeEdit_;                         // the page the edited copy was made from
    std::function<void()> documentReport_;
    std::function<void()> readFromUnit_;
    CommentEditor commentEditor_;
    std::function<bool(const QUrl&)> openWorkbook_;
    QPageLayout pageLayout_{QPageSize(QPageSize::A4), QPageLayout::Portrait,
                            QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter};
};

}  // namespace qelto::app
