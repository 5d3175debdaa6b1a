// The main window: menus, tool bar, status bar and the five views the engineer switches between
// (start view, older laundry form, editor, report, dishwash editor), over the one document.
#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>

#include "app/shell/recent_files.h"
#include "model/qelto_doc.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QUrl;

namespace qelto::app {

struct ShellContext;
class ShellPrompts;

enum ViewSlot : int {
    kStartViewSlot = 0,
    kLegacyFormSlot = 1,
    kEditorSlot = 2,
    kReportSlot = 3,
    kDishwashSlot = 4,
    kViewSlotCount = 5,
};

class MainWindow final : public QMainWindow {
    Q_OBJECT

  public:
    MainWindow(ShellContext& context, ShellPrompts& prompts, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the view of a slot and returns it; nullptr (and nothing changes) for an empty slot.
    QWidget* SwitchView(int index);
    // Puts a view into a slot (the window owns it); nullptr empties the slot.
    void setView(int slot, QWidget* view);
    QWidget* view(int slot) const;
    int currentViewIndex() const { return current_; }

    // The File commands. Each returns false when it did not happen (cancelled or failed).
    bool newDocument();
    bool openDocument(const QString& path);
    // Opens settings kept by the unit history as a new, unsaved document, once the document open
    // has been saved or given up; false when the engineer kept it or the bytes are no document.
    bool openSnapshot(const std::vector<std::uint8_t>& snapshot);
    bool saveDocument();
    bool saveDocumentAs();
    // Asks whether to save a modified document: false when the engineer cancels or the save
    // fails, so whatever was about to replace the document must not.
    bool settleModifiedDocument();

    // Another start of Qelto asked for this window, maybe with a document to open.
    void activateFromOtherInstance(const QString& file);

    // The status-bar indicator: shown while a long operation moves it (and the "ProgressBars"
    // setting is on), hidden when idle.
    void setProgress(int percent);
    void hideProgress();
    // The status bar names the unit later unit commands run on.
    void showChosenUnit();
    // The editor (or the dishwash editor) for the document, as after open or read.
    void showDocumentView();
    QProgressBar* progressBar() const { return progress_; }

    const RecentFiles& recentFiles() const { return recent_; }
    // How the about box opens its links (the desktop's handler unless a test replaces it).
    void setLinkOpener(std::function<bool(const QUrl&)> opener) { openLink_ = std::move(opener); }

    void showAbout();
    void showCommsSettings();
    // Starts or stops the session's communications log.
    void switchCommsLog(bool on);
    void showLanguageDialog();

    // The window title follows the document's name and modified mark.
    void refreshTitle();

  Q_SIGNALS:
    // The port setting changed: an open serial port must close so the next link uses the new one.
    void serialPortChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Saves under path and says why not when it failed.
    bool saveTo(const std::filesystem::path& path);
    QAction* addCommand(QMenu* menu, const char* name, int textId, bool enabled = true);
    void buildMenus();
    void buildEditMenu();
    void buildToolBar();
    void buildStatusBar();
    void buildViews();
    void rebuildRecentMenu();
    void rememberRecent(const QString& path);
    void documentChanged(model::DocHint hint);
    // The View menu marks the view shown.
    void markShownView();
    void watchEdits(QWidget* view);
    void rememberFrame();

    ShellContext& context_;
    ShellPrompts& prompts_;
    QStackedWidget* stack_;
    std::array<QWidget*, kViewSlotCount> views_{};
    int current_ = kStartViewSlot;
    QProgressBar* progress_ = nullptr;
    QLabel* unitLabel_ = nullptr;
    std::array<QAction*, kViewSlotCount> viewActions_{};
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    std::array<QAction*, RecentFiles::kCapacity> recentActions_{};
    RecentFiles recent_;
    std::function<bool(const QUrl&)> openLink_;
};

}  // namespace qelto::app
