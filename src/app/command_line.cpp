#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace qelto::app {

namespace {

const QString kSimulate = QStringLiteral("simulate");
const QString kSimulateKind = QStringLiteral("simulate-kind");

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Configure, program, verify, calibrate and report on chemical dosing-pump controllers.\n"
        "Qt's own options (-platform, -style, ...) are accepted as well; --help-all lists them."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        kSimulate, QStringLiteral("Run with a simulated unit (qelto-unitsim) on the serial port, "
                                  "for demonstrations and training without hardware.")));
    parser.addOption(QCommandLineOption(
        kSimulateKind,
        QStringLiteral("Simulate a unit of this kind (legacy-laundry, legacy-dishwash for the "
                       "older units); implies --simulate."),
        QStringLiteral("kind")));
    parser.addPositionalArgument(QStringLiteral("document"),
                                 QStringLiteral("A unit configuration to open (.qlf, or the older "
                                                ".qcf, which is saved as .qlf)."),
                                 QStringLiteral("[document]"));
}

// The first --help, --help-all or --version before a "--", or null. Only that one is handed to
// the parser: Qt's own options (-platform, -style, ...) and a document do not change the answer,
// and the parser would take "-platform" for the single-letter options p, l, a, ...
const char* helpOrVersionOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            return nullptr;
        }
        if (argument == "-h" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version") {
            return argv[i];
        }
    }
    return nullptr;
}

}  // namespace

std::optional<int> answerHelpOrVersion(int argc, char** argv) {
    const char* option = helpOrVersionOption(argc, argv);
    if (option == nullptr) {
        return std::nullopt;
    }
    // A core application, not the GUI one, so nothing needs a display; its own argv names the
    // program "qelto" in the usage line rather than the path it was started by.
    static char programName[] = "qelto";
    char* coreArgv[] = {programName, nullptr};
    int coreArgc = 1;
    QCoreApplication core(coreArgc, coreArgv);
    QCoreApplication::setApplicationName(QString::fromLatin1(programName));
    QCoreApplication::setApplicationVersion(QStringLiteral(QELTO_VERSION));

    QCommandLineParser parser;
    describe(parser);
    // Prints the help or the version and ends the program.
    parser.process(QStringList{QString::fromLatin1(programName), QString::fromLatin1(option)});
    return 0;
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    describe(parser);
    parser.process(arguments);
    const QStringList documents = parser.positionalArguments();
    if (documents.size() > 1) {
        std::fprintf(stderr, "qelto: open one document at a time, not %lld\n\n%s",
                     static_cast<long long>(documents.size()), qPrintable(parser.helpText()));
        std::exit(1);
    }
    const QString kind = parser.value(kSimulateKind);
    return CommandLine{documents.value(0), parser.isSet(kSimulate) || !kind.isEmpty(), kind};
}

}  // namespace qelto::app
