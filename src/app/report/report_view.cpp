#include "app/report/report_view.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "app/report/comment_dialog.h"
#include "app/report/page_display.h"
#include "app/report/report_texts.h"
#include "app/report/support_files.h"
#include "app/shell/shell_prompts.h"
#include "app/shell/shell_texts.h"
#include "platform/atomic_file.h"
#include "platform/user_paths.h"
#include "reports/cell_tag.h"
#include "reports/page_escape.h"
#include "reports/report_tag_parser.h"
#include "reports/xlsx_export.h"

namespace qelto::app {
namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString qPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// A name typed without an extension gets the default one.
QString withSuffix(const QString& path, const QString& suffix) {
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + suffix : path;
}

// Where the comment sits: after the opening INS tag (the first tag beginning "<INS") up to the
// next "</INS>".
struct CommentRegion {
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::optional<CommentRegion> findComment(const std::string& page) {
    const std::size_t tag = page.find("<INS");
    if (tag == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t open = page.find('>', tag);
    if (open == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t close = page.find("</INS>", open);
    if (close == std::string::npos) {
        return std::nullopt;
    }
    return CommentRegion{open + 1, close};
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// The comment as the engineer edits it: lines, no markup, no entities.
QString commentForEditing(std::string comment) {
    for (const char* breakTag : {"<BR>", "<br>", "<br/>", "<BR/>"}) {
        replaceAll(comment, breakTag, "\n");
    }
    replaceAll(comment, "\r\n", "\n");
    return QString::fromStdString(reports::decodeAttributeText(comment));
}

// The spreadsheet's copy of the comment (cell A100) follows the edit, so an exported workbook
// carries the comment the page shows.
void replaceCommentCell(std::string& page, const std::string& comment) {
    const std::string tag = reports::cellTag("A100", reports::prepareCommentForCell(comment));
    const std::size_t at = page.find("<EXCEL CELL=\"A100\"");
    if (at == std::string::npos) {
        return;
    }
    std::size_t end = page.find('>', at);
    if (end == std::string::npos) {
        return;
    }
    // A page of an older version leaves the tag open; a newer one closes it at once.
    constexpr std::string_view kClosing = "</EXCEL>";
    if (std::string_view(page).substr(end + 1, kClosing.size()) == kClosing) {
        end += kClosing.size();
    }
    page.replace(at, end + 1 - at, tag);
}

std::optional<QString> defaultCommentEditor(QWidget* parent, const QString& comment,
                                            const QString& caption) {
    return editCommentDialog(parent, caption, comment);
}

}  // namespace

ReportView::ReportView(const platform::LanguageCatalog& texts, ShellPrompts& prompts,
                       QWidget* parent)
    : QWidget(parent),
      texts_(texts),
      prompts_(prompts),
      browser_(new QTextBrowser),
      openWorkbook_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    browser_->setObjectName(QStringLiteral("reportBrowser"));
    browser_->setOpenLinks(false);
    // The page is a document to read, not a place to act: no context menu of the browser.
    browser_->setContextMenuPolicy(Qt::NoContextMenu);
    auto* bar = new QToolBar;
    bar->setObjectName(QStringLiteral("reportToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(addCommand(bar, "reportOfDocument", text::kReportOfDocument), &QAction::triggered, this,
            [this] {
                if (documentReport_) {
                    documentReport_();
                }
            });
    connect(addCommand(bar, "reportReadUnit", text::kReportReadUnit), &QAction::triggered, this,
            &ReportView::readReportFromUnit);
    connect(addCommand(nullptr, "reportOpen", text::kReportOpen), &QAction::triggered, this,
            &ReportView::openSavedReport);
    connect(addCommand(nullptr, "reportSave", text::kReportSave), &QAction::triggered, this,
            &ReportView::saveReport);
    connect(addCommand(nullptr, "reportPrintSetup", text::kReportPrintSetup), &QAction::triggered,
            this, &ReportView::printSetup);
    connect(addCommand(bar, "reportPrint", text::kReportPrint), &QAction::triggered, this,
            &ReportView::printReport);
    connect(addCommand(bar, "reportPrintPdf", text::kReportPrintPdf), &QAction::triggered, this,
            &ReportView::printToPdf);
    connect(addCommand(nullptr, "reportClear", text::kReportClear), &QAction::triggered, this,
            &ReportView::clearReport);
    connect(addCommand(bar, "reportEditComment", text::kReportEditComment), &QAction::triggered,
            this, &ReportView::editComment);
    connect(addCommand(bar, "reportExport", text::kReportExport), &QAction::triggered, this,
            &ReportView::exportToSpreadsheet);
    commentEditor_ = [this](QWidget* owner, const QString& comment) {
        return defaultCommentEditor(owner, comment, text(text::kCommentCaption));
    };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(browser_);
    displayEmpty();
}

// The temporaries go with the view: nothing of a report is left in the temporary folder.
ReportView::~ReportView() = default;

QString ReportView::text(int id) const {
    return uiText(texts_, id);
}

QAction* ReportView::addCommand(QToolBar* bar, const char* name, int textId) {
    auto* action = new QAction(text(textId), this);
    if (bar != nullptr) {
        bar->addAction(action);
    } else {
        // Off the bar, but its shortcut (if any) still works in the view.
        addAction(action);
    }
    action->setObjectName(QString::fromLatin1(name));
    actions_.append(action);
    return action;
}

QList<QAction*> ReportView::commandActions() const {
    return actions_;
}

std::optional<reports::ReportFile> ReportView::writeTemporary(const std::string& page) {
    // A unique name in the temporary folder: two windows, or a saved page of the same name,
    // never share or overwrite one.
    std::string error;
    auto file =
        reports::ReportFile::create(std::filesystem::temp_directory_path(), "", true, &error);
    if (file && (!file->writeLine(page) || !file->close())) {
        error = "the disk refused " + file->path().string();
        file.reset();
    }
    if (!file) {
        prompts_.warn(this, text(text::kReportCannotWrite).arg(QString::fromStdString(error)));
    }
    return file;
}

bool ReportView::showReport(const std::string& page) {
    // The last report's files go first, so there is never more than one.
    edited_.reset();
    report_.reset();
    report_ = writeTemporary(page);
    if (!report_) {
        displayEmpty();
        return false;
    }
    display(qPath(report_->path()));
    return true;
}

bool ReportView::showSavedReport(const QString& path) {
    // Read as a whole before anything is dropped: a pipe or device chosen by mistake is refused
    // instead of hanging the window.
    std::string bytes;
    if (!platform::readWholeFile(fsPath(path), bytes)) {
        prompts_.warn(this, text(text::kReportCannotOpen).arg(QDir::toNativeSeparators(path)));
        return false;
    }
    edited_.reset();
    report_.reset();
    display(path);
    return true;
}

void ReportView::display(const QString& path) {
    path_ = path;
    std::string bytes;
    platform::readWholeFile(fsPath(path), bytes);
    const DisplayPage page = prepareForDisplay(QString::fromStdString(bytes));
    auto* document = browser_->document();
    document->clear();
    document->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + QLatin1Char('/')));
    for (const DisplayPage::Picture& picture : page.pictures) {
        document->addResource(QTextDocument::ImageResource, picture.name, picture.image);
    }
    browser_->setHtml(page.html);
}

void ReportView::displayEmpty() {
    path_.clear();
    browser_->setHtml(QStringLiteral("<p style=\"color:#555;margin:24px\">%1</p>")
                          .arg(text(text::kEmptyReportPage).toHtmlEscaped()));
}

std::optional<std::string> ReportView::pageText() {
    if (path_.isEmpty()) {
        return std::nullopt;
    }
    std::string bytes;
    if (!platform::readWholeFile(fsPath(path_), bytes)) {
        return std::nullopt;
    }
    return bytes;
}

bool ReportView::needPage() {
    if (path_.isEmpty()) {
        prompts_.inform(this, text(text::kReportPageMissing));
        return false;
    }
    return true;
}

void ReportView::dropEditedCopy() {
    if (!edited_) {
        return;
    }
    edited_.reset();
    // Back to the page as it was before the edit, never to a file just deleted.
    if (beforeEdit_.isEmpty()) {
        displayEmpty();
    } else {
        display(beforeEdit_);
    }
}

bool ReportView::settleModified(int promptId) {
    if (!isModified()) {
        return true;
    }
    switch (prompts_.askYesNoCancel(this, text(promptId))) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            // A save that did not happen must not cost the engineer the edited comment.
            return saveReport();
        case Answer::No:
            dropEditedCopy();
            return true;
    }
    return false;
}

bool ReportView::readReportFromUnit() {
    if (!settleModified(text::kAskSaveBeforeRead)) {
        return false;
    }
    if (!readFromUnit_) {
        prompts_.inform(this, text(text::kReadUnitUnavailable));
        return false;
    }
    readFromUnit_();
    return true;
}

bool ReportView::openSavedReport() {
    if (!settleModified(text::kAskSaveBeforeOpen)) {
        return false;
    }
    const QString path = prompts_.chooseOpenFile(this, text(text::kReportOpenCaption),
                                                 text(text::kReportSaveFilter));
    return !path.isEmpty() && showSavedReport(path);
}

bool ReportView::saveReport() {
    if (!needPage()) {
        return false;
    }
    const std::optional<std::string> page = pageText();
    if (!page) {
        prompts_.warn(this, text(text::kReportPageUnreadable));
        return false;
    }
    QString chosen = prompts_.chooseSaveFile(this, text(text::kReportSaveCaption), QString(),
                                             text(text::kReportSaveFilter));
    if (chosen.isEmpty()) {
        return false;
    }
    chosen = withSuffix(chosen, text(text::kReportSaveExtension));
    const QFileInfo info(chosen);
    // The page goes into a folder of its own, named after it, with its two support files.
    const QString folder = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    const QString target = folder + QLatin1Char('/') + info.fileName();
    std::string error;
    bool ok = QDir().mkpath(folder);
    if (!ok) {
        error = "cannot create the folder " + folder.toStdString();
    }
    const std::string style = texts_.text(text::kReportStyleFile);
    const std::string logo = texts_.text(text::kReportLogoFile);
    ok = ok && placeSupportFile(platform::dataDir(), style, fsPath(folder), &error) &&
         placeSupportFile(platform::dataDir(), logo, fsPath(folder), &error) &&
         platform::writeFileAtomically(fsPath(target), *page, &error);
    if (!ok) {
        prompts_.warn(this, text(text::kReportSaveFailed).arg(QString::fromStdString(error)));
        return false;
    }
    // The saved page is the one shown from now on; the edited copy has served.
    edited_.reset();
    beforeEdit_.clear();
    display(target);
    prompts_.inform(this, text(text::kReportSaved)
                              .arg(QDir::toNativeSeparators(folder), QString::fromStdString(style),
                                   QString::fromStdString(logo)));
    return true;
}

bool ReportView::printReport() {
    if (!needPage()) {
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout_);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    browser_->print(&printer);
    return true;
}

bool ReportView::printSetup() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout_);
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    pageLayout_ = printer.pageLayout();
    return true;
}

bool ReportView::printToPdf() {
    if (!needPage()) {
        return false;
    }
    QString chosen =
        prompts_.chooseSaveFile(this, text(text::kPdfCaption), QString(), text(text::kPdfFilter));
    if (chosen.isEmpty()) {
        return false;
    }
    chosen = withSuffix(chosen, QStringLiteral("pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(pageLayout_);
    printer.setOutputFileName(chosen);
    QFile::remove(chosen);
    browser_->print(&printer);
    if (QFileInfo(chosen).size() <= 0) {
        prompts_.warn(this, text(text::kPdfFailed).arg(QDir::toNativeSeparators(chosen)));
        return false;
    }
    return true;
}

bool ReportView::clearReport() {
    if (!settleModified(text::kAskSaveBeforeClear)) {
        return false;
    }
    edited_.reset();
    report_.reset();
    beforeEdit_.clear();
    displayEmpty();
    return true;
}

bool ReportView::editComment() {
    if (!needPage()) {
        return false;
    }
    std::optional<std::string> page = pageText();
    if (!page) {
        prompts_.warn(this, text(text::kReportPageUnreadable));
        return false;
    }
    const std::optional<CommentRegion> region = findComment(*page);
    if (!region) {
        prompts_.warn(this, text(text::kCommentMissing));
        return false;
    }
    const std::optional<QString> edited = commentEditor_(
        this, commentForEditing(page->substr(region->begin, region->end - region->begin)));
    if (!edited) {
        return false;
    }
    QString lines = *edited;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const std::string comment = lines.toStdString();
    std::string copy = page->substr(0, region->begin) + reports::commentForPage(comment) +
                       page->substr(region->end);
    replaceCommentCell(copy, comment);
    std::optional<reports::ReportFile> file = writeTemporary(copy);
    if (!file) {
        return false;
    }
    if (!edited_) {
        beforeEdit_ = path_;
    }
    edited_ = std::move(file);
    display(qPath(edited_->path()));
    return true;
}

bool ReportView::exportToSpreadsheet() {
    if (!needPage()) {
        return false;
    }
    QString chosen = prompts_.chooseSaveFile(this, text(text::kExportCaption), QString(),
                                             text(text::kExportFilter));
    if (chosen.isEmpty()) {
        return false;
    }
    chosen = withSuffix(chosen, text(text::kExportExtension));
    const std::optional<std::string> page = pageText();
    if (!page) {
        prompts_.warn(this, text(text::kReportPageUnreadable));
        return false;
    }
    const reports::CReportTagParser tags(*page, "EXCEL", "CELL", "CONTENT");
    const reports::ExportResult result =
        reports::exportWorkbook(platform::dataDir() / texts_.text(text::kTemplateFile),
                                fsPath(chosen), texts_.text(text::kReportSheetName), tags.cells());
    if (!result.ok) {
        prompts_.warn(this,
                      text(result.messageId) + QLatin1Char('\n') +
                          text(text::kExportDetails).arg(QString::fromStdString(result.reason)));
        return false;
    }
    if (!openWorkbook_ || !openWorkbook_(QUrl::fromLocalFile(chosen))) {
        prompts_.inform(this, text(text::kWorkbookNoOpener).arg(QDir::toNativeSeparators(chosen)));
    }
    return true;
}

}  // namespace qelto::app
