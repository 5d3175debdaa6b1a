#include "app/shell/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <span>
#include <tuple>

#include "app/comms/comms_texts.h"
#include "app/editor/editor_pane.h"
#include "app/editor/editor_texts.h"
#include "app/editor/nav_tree.h"
#include "app/forms/chemical_names_dialog.h"
#include "app/forms/dishwash_editor.h"
#include "app/forms/legacy_laundry_form.h"
#include "app/history/history_texts.h"
#include "app/shell/about_dialog.h"
#include "app/shell/comms_settings_dialog.h"
#include "app/shell/frame_placement.h"
#include "app/shell/language_dialog.h"
#include "app/shell/shell_context.h"
#include "app/shell/shell_prompts.h"
#include "app/shell/start_view.h"
#include "platform/serial_port.h"

namespace qelto::app {

namespace {

QStringList toQStringList(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items) {
        list.append(QString::fromStdString(item));
    }
    return list;
}

std::vector<std::string> toStdVector(const QStringList& list) {
    std::vector<std::string> items;
    for (const QString& item : list) {
        items.push_back(item.toStdString());
    }
    return items;
}

// A view whose real widget another part of the program installs with setView.
QWidget* placeholderView(const QString& name, const QString& note) {
    auto* label =
        new QLabel(QStringLiteral("<h2>%1</h2><p>%2</p>")
                       .arg(name.toHtmlEscaped().remove(QLatin1Char('&')), note.toHtmlEscaped()));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

MainWindow::MainWindow(ShellContext& context, ShellPrompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      prompts_(prompts),
      stack_(new QStackedWidget(this)),
      recent_(toQStringList(context.store.loadRecentFiles())),
      openLink_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("CorvidClass"));
    setCentralWidget(stack_);
    setAcceptDrops(true);
    buildViews();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    context_.doc.setHintListener([this](model::DocHint hint) { documentChanged(hint); });
    refreshTitle();
    resize(1000, 700);
}

// The document outlives the window; it must not call back into a window that is gone.
MainWindow::~MainWindow() {
    context_.doc.setHintListener({});
}

QAction* MainWindow::addCommand(QMenu* menu, const char* name, int textId, bool enabled) {
    QAction* action = menu->addAction(context_.text(textId));
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    return action;
}

void MainWindow::buildMenus() {
    // Commands whose dialogs are not part of this window yet stay visible but disabled, so the
    // engineer sees where they will be.
    fileMenu_ = menuBar()->addMenu(context_.text(text::kMenuFile));
    QMenu* file = fileMenu_;
    QAction* newAction = addCommand(file, "fileNew", text::kFileNew);
    newAction->setShortcut(QKeySequence::New);
    newAction->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    connect(newAction, &QAction::triggered, this, [this] { newDocument(); });
    QAction* open = addCommand(file, "fileOpen", text::kFileOpen);
    open->setShortcut(QKeySequence::Open);
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    connect(open, &QAction::triggered, this, [this] {
        if (!settleModifiedDocument()) {
            return;
        }
        const QString path = prompts_.chooseOpenFile(this, context_.text(text::kOpenCaption),
                                                     context_.text(text::kFileFilter));
        if (!path.isEmpty()) {
            openDocument(path);
        }
    });
    QAction* save = addCommand(file, "fileSave", text::kFileSave);
    save->setShortcut(QKeySequence::Save);
    save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    connect(save, &QAction::triggered, this, [this] { saveDocument(); });
    QAction* saveAs = addCommand(file, "fileSaveAs", text::kFileSaveAs);
    connect(saveAs, &QAction::triggered, this, [this] { saveDocumentAs(); });
    recentSeparator_ = file->addSeparator();
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        QAction* action = file->addAction(QString());
        action->setObjectName(QStringLiteral("recent%1").arg(i));
        connect(action, &QAction::triggered, this, [this, i] {
            const QString path = recent_.files().value(static_cast<qsizetype>(i));
            if (!path.isEmpty() && settleModifiedDocument()) {
                openDocument(path);
            }
        });
        recentActions_[i] = action;
    }
    file->addSeparator();
    QAction* exit = addCommand(file, "fileExit", text::kFileExit);
    exit->setShortcut(QKeySequence::Quit);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    rebuildRecentMenu();
    buildEditMenu();

    QMenu* unit = menuBar()->addMenu(context_.text(text::kMenuUnit));
    // Function keys: the engineer reads, writes and verifies many times a day, often with gloves.
    addCommand(unit, "unitRead", text::kUnitRead, false)->setShortcut(Qt::Key_F5);
    addCommand(unit, "unitWrite", text::kUnitWrite, false)->setShortcut(Qt::Key_F6);
    addCommand(unit, "unitVerify", text::kUnitVerify, false)->setShortcut(Qt::Key_F7);
    unit->addSeparator();
    addCommand(unit, "unitClockGet", text::kUnitClockGet, false);
    addCommand(unit, "unitClockSet", text::kUnitClockSet, false);
    addCommand(unit, "unitPumpCalibration", text::kUnitPumpCalibration, false);
    addCommand(unit, "unitReport", text::kUnitReport, false);
    addCommand(unit, "unitFind", text::kUnitFind, false)->setShortcut(Qt::Key_F8);
    unit->addSeparator();
    addCommand(unit, "unitHistory", historytext::kMenuUnitHistory, false);
    QAction* backup = addCommand(unit, "unitHistoryBackup", historytext::kBackUpBeforeWrite);
    backup->setCheckable(true);
    backup->setChecked(context_.settings.historyBackup != 0);
    connect(backup, &QAction::toggled, this, [this](bool on) {
        context_.settings.historyBackup = on ? 1 : 0;
        std::string error;
        if (!context_.store.save(context_.settings, &error)) {
            prompts_.warn(this, context_.text(text::kCannotSave) + QStringLiteral("\n\n") +
                                    QString::fromStdString(error));
        }
    });
    unit->addSeparator();
    QAction* comms = addCommand(unit, "unitCommsSettings", text::kUnitCommsSettings);
    connect(comms, &QAction::triggered, this, &MainWindow::showCommsSettings);

    QMenu* batch = menuBar()->addMenu(context_.text(text::kMenuBatch));
    addCommand(batch, "batchLogIn", text::kBatchLogIn, false);
    addCommand(batch, "batchSetup", text::kBatchSetup, false);
    addCommand(batch, "batchPassword", text::kBatchPassword, false);

    QMenu* older = menuBar()->addMenu(context_.text(text::kMenuOlder));
    addCommand(older, "olderRead", text::kOlderRead, false);
    addCommand(older, "olderWrite", text::kOlderWrite, false);
    addCommand(older, "olderThirdCommand", text::kOlderThirdCommand, false);
    older->addSeparator();
    addCommand(older, "olderDishwashRead", text::kOlderDishwashRead, false);
    addCommand(older, "olderDishwashVerify", text::kOlderDishwashVerify, false);
    older->addSeparator();
    addCommand(older, "olderUsage", text::kOlderUsage, false);
    addCommand(older, "olderTextDump", text::kOlderTextDump, false);

    QMenu* viewMenu = menuBar()->addMenu(context_.text(text::kMenuView));
    const std::array<std::pair<const char*, int>, kViewSlotCount> views{{
        {"viewStart", text::kViewStart},
        {"viewLegacyForm", text::kViewLegacyForm},
        {"viewEditor", text::kViewEditor},
        {"viewReport", text::kViewReport},
        {"viewDishwash", text::kViewDishwash},
    }};
    auto* shownView = new QActionGroup(this);
    for (int slot = 0; slot < kViewSlotCount; ++slot) {
        const auto& [name, textId] = views[static_cast<std::size_t>(slot)];
        QAction* action = addCommand(viewMenu, name, textId);
        action->setCheckable(true);
        shownView->addAction(action);
        viewActions_[static_cast<std::size_t>(slot)] = action;
        connect(action, &QAction::triggered, this, [this, slot] { SwitchView(slot); });
    }
    viewActions_[kStartViewSlot]->setChecked(true);

    QMenu* language = menuBar()->addMenu(context_.text(text::kMenuLanguage));
    QAction* select = addCommand(language, "languageSelect", text::kLanguageSelect);
    connect(select, &QAction::triggered, this, &MainWindow::showLanguageDialog);

    QMenu* help = menuBar()->addMenu(context_.text(text::kMenuHelp));
    QAction* about = addCommand(help, "helpAbout", text::kHelpAbout);
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
}

// The editor tree's commands, also reachable from a menu; they act on the item selected in the
// tree and are enabled while the editor shows.
void MainWindow::buildEditMenu() {
    QMenu* edit = menuBar()->addMenu(context_.text(text::kMenuEdit));
    edit->setObjectName(QStringLiteral("editMenu"));
    const std::array<std::tuple<const char*, int, void (NavTree::*)()>, 5> commands{{
        {"editCopy", text::kCopyProgram, &NavTree::copySelected},
        {"editPaste", text::kPasteProgram, &NavTree::pasteOnSelected},
        {"editClearProgram", text::kClearProgram, &NavTree::clearSelected},
        {"editRenameProgram", text::kRenameProgram, &NavTree::renameSelectedProgram},
        {"editRenamePump", text::kRenamePump, &NavTree::renameSelectedPump},
    }};
    for (const auto& [name, textId, command] : commands) {
        QAction* action = addCommand(edit, name, textId);
        const auto run = command;
        connect(action, &QAction::triggered, this, [this, run] {
            if (auto* editor = qobject_cast<EditorPane*>(view(kEditorSlot));
                editor != nullptr && current_ == kEditorSlot) {
                (editor->tree()->*run)();
            }
        });
    }
    connect(edit, &QMenu::aboutToShow, this, [this, edit] {
        for (QAction* action : edit->actions()) {
            action->setEnabled(action->objectName() == QLatin1String("editChemicalNames") ||
                               current_ == kEditorSlot);
        }
    });
    edit->addSeparator();
    QAction* names = addCommand(edit, "editChemicalNames", text::kChemicalNames);
    connect(names, &QAction::triggered, this, [this] {
        ChemicalNamesDialog dialog(context_.language, context_.doc.config().unitType, this);
        if (dialog.exec() == QDialog::Accepted) {
            // The pump lists offer the names the dialog saved.
            if (auto* editor = qobject_cast<EditorPane*>(view(kEditorSlot))) {
                editor->reload();
            }
        }
    });
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(context_.text(text::kToolBar));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    for (const char* name : {"fileNew", "fileOpen", "fileSave"}) {
        bar->addAction(findChild<QAction*>(QString::fromLatin1(name)));
    }
    bar->addSeparator();
    const std::array<std::pair<const char*, QStyle::StandardPixmap>, 3> unitCommands{{
        {"unitRead", QStyle::SP_ArrowDown},
        {"unitWrite", QStyle::SP_ArrowUp},
        {"unitVerify", QStyle::SP_DialogApplyButton},
    }};
    for (const auto& [name, icon] : unitCommands) {
        QAction* action = findChild<QAction*>(QString::fromLatin1(name));
        action->setIcon(style()->standardIcon(icon));
        bar->addAction(action);
    }
    bar->addSeparator();
    QAction* about = findChild<QAction*>(QStringLiteral("helpAbout"));
    about->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    bar->addAction(about);
}

void MainWindow::buildStatusBar() {
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setMaximumWidth(180);
    progress_->hide();
    unitLabel_ = new QLabel;
    unitLabel_->setObjectName(QStringLiteral("chosenUnit"));
    statusBar()->addPermanentWidget(unitLabel_);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->showMessage(context_.text(text::kReady));
}

void MainWindow::buildViews() {
    setView(kStartViewSlot, new StartView(context_.text(text::kStartViewHint)));
    // Every editor works on the one document the window saves; the report view comes with the
    // report commands.
    setView(kLegacyFormSlot,
            new LegacyLaundryForm(context_.doc, context_.language, context_.units));
    setView(kEditorSlot, new EditorPane(context_.doc, context_.language,
                                        context_.settings.language == platform::kAmericanEnglish));
    setView(kReportSlot,
            placeholderView(context_.text(text::kViewReport), context_.text(text::kViewNotYet)));
    setView(kDishwashSlot, new DishwashEditor(context_.doc, context_.language));
    stack_->setCurrentWidget(views_[kStartViewSlot]);
}

void MainWindow::setView(int slot, QWidget* view) {
    if (slot < 0 || slot >= kViewSlotCount) {
        return;
    }
    QWidget*& held = views_[static_cast<std::size_t>(slot)];
    if (held == view) {
        return;
    }
    if (view != nullptr) {
        stack_->addWidget(view);
        watchEdits(view);
    }
    if (held != nullptr) {
        stack_->removeWidget(held);
        held->deleteLater();
    }
    held = view;
    if (slot == current_) {
        // The shown view went away or was replaced: show its successor, or the start view.
        QWidget* shown = view != nullptr ? view : views_[kStartViewSlot];
        if (shown == nullptr) {
            return;
        }
        current_ = view != nullptr ? slot : kStartViewSlot;
        stack_->setCurrentWidget(shown);
        markShownView();
    }
}

QWidget* MainWindow::view(int slot) const {
    return slot >= 0 && slot < kViewSlotCount ? views_[static_cast<std::size_t>(slot)] : nullptr;
}

QWidget* MainWindow::SwitchView(int index) {
    QWidget* requested = view(index);
    if (requested == nullptr) {
        return nullptr;
    }
    if (index != current_) {
        stack_->setCurrentWidget(requested);
        current_ = index;
        requested->update();
    }
    markShownView();
    return requested;
}

void MainWindow::documentChanged(model::DocHint hint) {
    // The views show the record as it was when they last looked; a new or opened document
    // replaced it as a whole.
    if (hint == model::DocHint::NewDocument || hint == model::DocHint::Opened) {
        if (auto* legacy = qobject_cast<LegacyLaundryForm*>(view(kLegacyFormSlot))) {
            legacy->reload();
        }
        if (auto* editor = qobject_cast<EditorPane*>(view(kEditorSlot))) {
            editor->reload();
        }
        if (auto* dishwash = qobject_cast<DishwashEditor*>(view(kDishwashSlot))) {
            dishwash->reload();
        }
    }
    refreshTitle();
}

void MainWindow::showDocumentView() {
    SwitchView(model::isDishwashView(context_.doc.viewToShow()) ? kDishwashSlot : kEditorSlot);
}

bool MainWindow::settleModifiedDocument() {
    if (!context_.doc.isModified()) {
        return true;
    }
    const QString name =
        context_.doc.pathName().empty()
            ? context_.text(text::kUntitled)
            : QFileInfo(QString::fromStdString(context_.doc.pathName().string())).fileName();
    switch (prompts_.askYesNoCancel(this, context_.text(text::kAskSaveChanges).arg(name))) {
        case Answer::Yes:
            return saveDocument();
        case Answer::No:
            return true;
        case Answer::Cancel:
            break;
    }
    return false;
}

bool MainWindow::newDocument() {
    if (!settleModifiedDocument()) {
        return false;
    }
    context_.doc.onNewDocument();
    showDocumentView();
    refreshTitle();
    return true;
}

bool MainWindow::openDocument(const QString& path) {
    const model::OpenResult result = context_.doc.onOpenDocument(path.toStdString());
    if (!result.ok()) {
        // A file that is no document gets the catalog's sentence; any other failure names the
        // file and the reason.
        const QString message = result.messageId != 0
                                    ? context_.text(result.messageId)
                                    : context_.text(text::kCannotOpen) + QStringLiteral("\n\n") +
                                          QString::fromStdString(result.detail);
        prompts_.warn(this, message);
        if (result.status == model::OpenStatus::CannotRead) {
            recent_.remove(path);
            rebuildRecentMenu();
        }
        refreshTitle();
        return false;
    }
    if (result.messageId != 0) {
        prompts_.inform(this, context_.text(result.messageId));
    }
    rememberRecent(path);
    showDocumentView();
    refreshTitle();
    return true;
}

bool MainWindow::openSnapshot(const std::vector<std::uint8_t>& snapshot) {
    if (!settleModifiedDocument()) {
        return false;
    }
    const model::OpenResult result =
        context_.doc.loadFromBytes(std::span(snapshot.data(), snapshot.size()),
                                   context_.text(historytext::kCaption).toStdString());
    if (!result.ok()) {
        prompts_.warn(this, context_.text(text::kCannotOpen) + QStringLiteral("\n\n") +
                                QString::fromStdString(result.detail));
        return false;
    }
    context_.doc.forgetPath();
    context_.doc.setModifiedFlag(true);
    context_.doc.notifyViews(model::DocHint::Opened);
    showDocumentView();
    refreshTitle();
    return true;
}

bool MainWindow::saveDocument() {
    if (context_.doc.pathName().empty()) {
        return saveDocumentAs();
    }
    return saveTo(context_.doc.pathName());
}

bool MainWindow::saveTo(const std::filesystem::path& path) {
    const model::SaveResult result = context_.doc.onSaveDocument(path);
    if (!result.ok) {
        prompts_.warn(this, context_.text(text::kCannotSave) + QStringLiteral("\n\n") +
                                QString::fromStdString(result.detail));
        return false;
    }
    rememberRecent(QString::fromStdString(result.path.string()));
    refreshTitle();
    return true;
}

bool MainWindow::saveDocumentAs() {
    QString suggested =
        QString::fromStdString(model::CQeltoDoc::savePathFor(context_.doc.pathName()).string());
    if (suggested.isEmpty()) {
        suggested = context_.text(text::kUntitled) + QStringLiteral(".qlf");
    }
    QString path = prompts_.chooseSaveFile(this, context_.text(text::kSaveAsCaption), suggested,
                                           context_.text(text::kFileFilter));
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".qlf");
    }
    return saveTo(path.toStdString());
}

void MainWindow::rememberRecent(const QString& path) {
    recent_.add(path);
    rebuildRecentMenu();
    context_.store.saveRecentFiles(toStdVector(recent_.files()));
}

void MainWindow::rebuildRecentMenu() {
    const QStringList& files = recent_.files();
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        QAction* action = recentActions_[i];
        const auto index = static_cast<qsizetype>(i);
        if (index < files.size()) {
            // Numbers 1 to 9 get an accelerator; the later ones are reached with the mouse.
            const QString number =
                i < 9 ? QStringLiteral("&%1").arg(i + 1) : QString::number(i + 1);
            action->setText(number + QLatin1Char(' ') +
                            QString(files[index]).replace(QLatin1Char('&'), QStringLiteral("&&")));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
    recentSeparator_->setVisible(!files.isEmpty());
}

void MainWindow::refreshTitle() {
    const auto& path = context_.doc.pathName();
    const QString name = path.empty() ? context_.text(text::kUntitled)
                                      : QFileInfo(QString::fromStdString(path.string())).fileName();
    setWindowTitle(name + QStringLiteral("[*] - Qelto"));
    setWindowModified(context_.doc.isModified());
}

void MainWindow::activateFromOtherInstance(const QString& file) {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
    if (!file.isEmpty() && settleModifiedDocument()) {
        openDocument(file);
    }
}

void MainWindow::setProgress(int percent) {
    if (context_.settings.progressBars != 0) {
        progress_->setValue(std::clamp(percent, 0, 100));
        progress_->show();
    }
}

// The title's "*" follows every edit at once, not only the next save or open.
void MainWindow::watchEdits(QWidget* view) {
    if (auto* editor = qobject_cast<EditorPane*>(view)) {
        connect(editor, &EditorPane::documentModified, this, &MainWindow::refreshTitle);
    } else if (auto* legacy = qobject_cast<LegacyLaundryForm*>(view)) {
        connect(legacy, &LegacyLaundryForm::documentModified, this, &MainWindow::refreshTitle);
    } else if (auto* dishwash = qobject_cast<DishwashEditor*>(view)) {
        connect(dishwash, &DishwashEditor::documentModified, this, &MainWindow::refreshTitle);
    }
}

void MainWindow::markShownView() {
    if (QAction* action = viewActions_[static_cast<std::size_t>(current_)]) {
        action->setChecked(true);
    }
}

void MainWindow::hideProgress() {
    progress_->hide();
}

void MainWindow::showChosenUnit() {
    const std::optional<ChosenUnit>& unit = context_.chosenUnit;
    unitLabel_->setText(
        unit ? context_.text(text::kChosenUnit)
                   .arg(unit->serial, 9, 10, QLatin1Char('0'))
                   .arg(QString::fromStdString(unit->model), QString::fromStdString(unit->where))
             : QString());
}

void MainWindow::showAbout() {
    AboutDialog about(context_.language, openLink_, this);
    about.exec();
}

void MainWindow::showCommsSettings() {
    CommsSettings current{context_.settings.serPort, context_.settings.progressBars,
                          context_.settings.usbSpeedThrottle, context_.commsLog};
    CommsSettingsDialog dialog(context_.language, current, platform::listSerialPorts(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const CommsSettings chosen = dialog.values();
    const bool portChanged = !chosen.serPort.empty() && chosen.serPort != current.serPort;
    if (portChanged) {
        context_.settings.serPort = chosen.serPort;
    }
    context_.settings.progressBars = chosen.progressBars;
    context_.settings.usbSpeedThrottle = chosen.usbSpeedThrottle;
    if (chosen.commsLog != context_.commsLog) {
        switchCommsLog(chosen.commsLog);
    }
    if (portChanged) {
        Q_EMIT serialPortChanged();
    }
}

void MainWindow::switchCommsLog(bool on) {
    comms::UnitSession& units = context_.units;
    if (!on) {
        units.stopCommsLog();
        context_.commsLog = false;
        return;
    }
    std::error_code ec;
    const std::filesystem::path folder =
        context_.settings.logDirectory.empty()
            ? std::filesystem::current_path(ec)
            : std::filesystem::path(context_.settings.logDirectory);
    // The log is written from the unit work's thread; its complaint is shown once, here.
    auto complained = std::make_shared<std::atomic<bool>>(false);
    const auto reportError = [this, complained](const std::string& text) {
        if (complained->exchange(true)) {
            return;
        }
        QMetaObject::invokeMethod(
            this,
            [this, text] {
                QMessageBox::warning(this, QStringLiteral("Qelto"), QString::fromStdString(text));
            },
            Qt::QueuedConnection);
    };
    std::string error;
    if (!units.startCommsLog(folder, reportError, &error)) {
        QMessageBox::warning(this, QStringLiteral("Qelto"),
                             context_.text(commstext::kMsgCommsLogFolder)
                                 .arg(QString::fromStdString(folder.string())));
        return;
    }
    context_.commsLog = true;
}

void MainWindow::showLanguageDialog() {
    LanguageDialog dialog(context_.language, context_.settings.language, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const int chosen = dialog.chosenLanguage();
    const platform::LanguageInfo* info = platform::findLanguage(chosen);
    if (info == nullptr || chosen == context_.settings.language) {
        return;
    }
    context_.settings.language = chosen;
    std::string error;
    if (!context_.store.saveLanguage(chosen, &error)) {
        prompts_.warn(this, QString::fromStdString(error));
        return;
    }
    prompts_.inform(this, context_.text(info->confirmationId));
}

void MainWindow::rememberFrame() {
    context_.settings.maximized = isMaximized() ? 1 : 0;
    // The inner rectangle: it is what setGeometry takes back at the next start, so a window
    // with a title bar does not creep down the screen run after run.
    const QRect frame = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (frame.isValid()) {
        context_.settings.frameRect = frameRectOf(frame);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!settleModifiedDocument()) {
        event->ignore();
        return;
    }
    rememberFrame();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    // One document at a time: the first dropped file is the one opened.
    if (urls.isEmpty() || !urls.front().isLocalFile()) {
        return;
    }
    event->acceptProposedAction();
    const QString path = urls.front().toLocalFile();
    if (settleModifiedDocument()) {
        openDocument(path);
    }
}

}  // namespace qelto::app
