// Start-up and shut-down of the desktop application: one instance per user, the settings, the
// language, the spreadsheet template, the main window and its first document.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace qelto::app {

struct ShellContext;
class InstanceServer;
class MainWindow;
class ShellPrompts;
class WindowCommands;

class QeltoApplication {
  public:
    // serverName: the local socket of the single instance (tests use one of their own).
    explicit QeltoApplication(ShellPrompts& prompts, QString serverName = {});
    ~QeltoApplication();
    QeltoApplication(const QeltoApplication&) = delete;
    QeltoApplication& operator=(const QeltoApplication&) = delete;

    enum class Start { Running, HandedOver, Failed };

    // Runs the start-up steps; arguments are the command line without the program name (a
    // document to open). Running: the window is shown and the event loop may start. HandedOver:
    // another instance took the document and this one ends with 0. Failed: it ends with 1.
    Start InitInstance(const QStringList& arguments);

    // Saves the window's settings (placement, port, progress, pause, language); the window has
    // already noted its placement when it closed.
    void ExitInstance();

    MainWindow* window() const { return window_.get(); }
    WindowCommands* commands() const { return commands_.get(); }
    ShellContext* context() const { return context_.get(); }
    bool firstRun() const { return firstRun_; }

  private:
    void placeWindow();

    ShellPrompts& prompts_;
    QString serverName_;
    std::unique_ptr<ShellContext> context_;
    std::unique_ptr<MainWindow> window_;
    // Destroyed before the window whose menus and views it uses.
    std::unique_ptr<WindowCommands> commands_;
    std::unique_ptr<InstanceServer> server_;
    bool firstRun_ = false;
};

}  // namespace qelto::app
