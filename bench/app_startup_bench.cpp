// Start-up of the desktop window: from nothing to an idle, shown main window (offscreen), against
// a bare QMainWindow shown the same way, and the process's resident memory with it on screen.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QMainWindow>
#include <cstdio>
#include <memory>

#include "app/shell/main_window.h"
#include "app/shell/shell_context.h"
#include "app/shell/shell_prompts.h"
#include "temp_folder.h"

namespace {

// One application for the whole run, offscreen, with settings in a folder of its own.
QApplication& application() {
    static qelto::bench::TempFolder home;
    static int argc = 1;
    static char name[] = "qelto_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("HOME", home.path.string().c_str());
        qputenv("XDG_CONFIG_HOME", (home.path / ".config").string().c_str());
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Shows the window, paints it once (the offscreen platform does not ask for a paint on its own)
// and runs the event loop until nothing is left for it: the window is idle.
void showUntilIdle(QWidget& window) {
    window.show();
    QApplication::processEvents();
    window.repaint();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

double residentMiB() {
    long size = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

void BM_BareMainWindowShown(benchmark::State& state) {
    application();
    std::unique_ptr<QMainWindow> window;
    for (auto _ : state) {
        window.reset();
        window = std::make_unique<QMainWindow>();
        window->resize(1000, 700);
        showUntilIdle(*window);
    }
    state.counters["rss_MiB"] = residentMiB();
}
BENCHMARK(BM_BareMainWindowShown)->Unit(benchmark::kMillisecond);

// Everything the program does between its settings and its first idle moment: the settings and
// the English catalog read, the chemical catalogue, the document, the window with its five views.
void BM_QeltoMainWindowShown(benchmark::State& state) {
    application();
    qelto::app::DialogPrompts prompts;
    std::unique_ptr<qelto::app::ShellContext> context;
    std::unique_ptr<qelto::app::MainWindow> window;
    for (auto _ : state) {
        window.reset();
        context.reset();
        qelto::platform::SettingsStore store;
        auto catalog = qelto::platform::LanguageCatalog::loadForSetting(1);
        if (!catalog) {
            state.SkipWithError("no English catalog: set QELTO_LANG_DIR");
            return;
        }
        context =
            std::make_unique<qelto::app::ShellContext>(store, store.load(), std::move(*catalog));
        window = std::make_unique<qelto::app::MainWindow>(*context, prompts);
        showUntilIdle(*window);
    }
    state.counters["rss_MiB"] = residentMiB();
}
BENCHMARK(BM_QeltoMainWindowShown)->Unit(benchmark::kMillisecond);

}  // namespace
