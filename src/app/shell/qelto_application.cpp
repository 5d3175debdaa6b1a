#include "app/shell/qelto_application.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "app/shell/frame_placement.h"
#include "app/shell/language_startup.h"
#include "app/shell/main_window.h"
#include "app/shell/qt_translations.h"
#include "app/shell/shell_context.h"
#include "app/shell/shell_prompts.h"
#include "app/shell/single_instance.h"
#include "app/shell/template_probe.h"
#include "app/shell/window_commands.h"

namespace qelto::app {

QeltoApplication::QeltoApplication(ShellPrompts& prompts, QString serverName)
    : prompts_(prompts),
      serverName_(serverName.isEmpty() ? instanceServerName() : std::move(serverName)) {}

QeltoApplication::~QeltoApplication() = default;

QeltoApplication::Start QeltoApplication::InitInstance(const QStringList& arguments) {
    const QString document =
        arguments.isEmpty() ? QString() : QFileInfo(arguments.front()).absoluteFilePath();
    if (handOverToRunningInstance(serverName_, document)) {
        return Start::HandedOver;
    }

    platform::SettingsStore store;
    platform::Settings settings = store.load();
    StartupLanguage language = loadStartupLanguage(settings.language, prompts_);
    if (!language.catalog) {
        return Start::Failed;
    }
    firstRun_ = language.firstRun;
    settings.language = language.language;
    if (language.storeLanguage) {
        store.saveLanguage(settings.language);
    }
    useLanguageInQt(settings.language);
    context_ = std::make_unique<ShellContext>(std::move(store), std::move(settings),
                                              std::move(*language.catalog));
    context_->templateAvailable = spreadsheetTemplateAvailable(
        platform::dataDir(), context_->language.text(text::kTemplateFile));

    window_ = std::make_unique<MainWindow>(*context_, prompts_);
    commands_ = std::make_unique<WindowCommands>(*window_, *context_, prompts_);
    server_ = std::make_unique<InstanceServer>();
    // Without the socket a later start simply runs as a second instance; nothing is lost.
    server_->listen(serverName_);
    QObject::connect(server_.get(), &InstanceServer::activationRequested, window_.get(),
                     &MainWindow::activateFromOtherInstance);

    placeWindow();
    if (!document.isEmpty()) {
        window_->openDocument(document);
    }
    if (firstRun_) {
        // After the window is up, as the engineer's first sight of the program.
        QTimer::singleShot(0, window_.get(), &MainWindow::showLanguageDialog);
    }
    return Start::Running;
}

void QeltoApplication::placeWindow() {
    const platform::Settings& settings = context_->settings;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect screenRect(QPoint(0, 0), screen->geometry().size());
        if (auto frame = restorableFrame(settings.frameRect, screenRect)) {
            window_->setGeometry(*frame);
        }
    }
    if (settings.maximized != 0) {
        window_->showMaximized();
    } else {
        window_->show();
    }
}

void QeltoApplication::ExitInstance() {
    if (!context_) {
        return;
    }
    // Only the keys the window owns: batch settings saved meanwhile (by qeltoctl or the batch
    // dialogs) must not go back to what they were when the window opened.
    platform::Settings settings = context_->store.load();
    const platform::Settings& mine = context_->settings;
    settings.maximized = mine.maximized;
    settings.frameRect = mine.frameRect;
    settings.serPort = mine.serPort;
    settings.progressBars = mine.progressBars;
    settings.usbSpeedThrottle = mine.usbSpeedThrottle;
    settings.language = mine.language;
    std::string error;
    if (!context_->store.save(settings, &error)) {
        prompts_.warn(nullptr, QString::fromStdString(error));
    }
}

}  // namespace qelto::app
