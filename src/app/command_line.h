// What qelto accepts on its command line: one document to open, --simulate (with the kind of
// unit to simulate), --help and --version.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace qelto::app {

struct CommandLine {
    QString document;  // empty: the window starts without one
    bool simulate = false;
    QString simulatedKind;  // --simulate-kind: one of the simulator's kinds; empty: its default
};

// --help or --version (before a "--"): prints the answer and returns the exit status, before any
// window exists and without a display, so that terminals, scripts and the manual page generator
// can ask. Otherwise nothing.
std::optional<int> answerHelpOrVersion(int argc, char** argv);

// The arguments QApplication left after taking its own (-platform, -style, ...). An unknown
// option or a second document is printed with the usage, and the program ends with status 1.
CommandLine parseCommandLine(const QStringList& arguments);

}  // namespace qelto::app
