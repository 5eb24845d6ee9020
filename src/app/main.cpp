// tensiq: the service tool's window. --demo runs it against a simulated device.

#include "DemoSession.h"
#include "DisplayCheck.h"
#include "LanguageByLocale.h"
#include "QuitOnSignal.h"
#include "RopeLoadApp.h"
#include "Version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

using namespace tensiq;

namespace {
// The one application object; its construction clears what a previous run may have left.
CRopeLoadApp theApp;
} // namespace

namespace {

// What the command line asks for.
struct CommandLine {
    bool demo = false;
    bool showVersion = false;
    bool printLanguage = false;
    std::optional<QString> language;
    QStringList openFiles;
};

// Parsed before the GUI starts, so --help and --version work without a display.
CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine line;
    QCoreApplication parsing(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Service tool for the rope-load measuring device of a lift: finds the device on a "
        "serial port, reads and writes its parameters, shows the live load of every rope "
        "and records each measurement."));
    parser.addHelpOption();
    // Printed as the command-line tools print it: the program's name and the one version.
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Print the version and exit."));
    parser.addOption(version);
    const QCommandLineOption language(
        QStringLiteral("language"),
        QStringLiteral("Run in German, English or Chinese, whatever the locale says. A "
                       "language library beside the program still decides."),
        QStringLiteral("de|en|zh"));
    parser.addOption(language);
    const QCommandLineOption printLanguage(
        QStringLiteral("print-language"),
        QStringLiteral("Print the language the program starts in, where its texts come "
                       "from and the main window's texts, then exit."));
    parser.addOption(printLanguage);
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Run against a simulated device inside the program (ports COM1 silent, "
                       "COM2 noisy, COM3 the device, in a private temporary folder). The stored "
                       "profile and the last measurement are left untouched."));
    parser.addOption(demo);
    const QCommandLineOption open(
        QStringList{QStringLiteral("open")},
        QStringLiteral("Open a saved measurement in a viewer window beside the main window; "
                       "may be given several times."),
        QStringLiteral("FILE"));
    parser.addOption(open);
    parser.process(parsing);
    for (const QString& file : parser.values(open))
        line.openFiles << QFileInfo(file).absoluteFilePath();
    line.demo = parser.isSet(demo);
    line.showVersion = parser.isSet(version);
    line.printLanguage = parser.isSet(printLanguage);
    if (parser.isSet(language))
        line.language = parser.value(language);
    return line;
}

int RunWindow(int argc, char** argv) {
    CatchQuitSignals();
    QCoreApplication::setApplicationName(QStringLiteral("Tensiq"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    const CommandLine line = ParseCommandLine(argc, argv);
    if (line.showVersion) {
        std::printf("tensiq %s\n", kVersion);
        return 0;
    }

    CRopeLoadApp::Options options;
    options.openFiles = line.openFiles;
    if (line.language) {
        const auto code = LanguageFromOption(line.language->toStdString());
        if (!code) {
            std::fprintf(stderr, "tensiq: --language takes de, en or zh, not '%s'\n",
                         line.language->toLocal8Bit().constData());
            return 2;
        }
        options.language = *code;
    }
    if (const std::string missing = MissingDisplay(); !missing.empty()) {
        std::fprintf(stderr, "tensiq: %s\n", missing.c_str());
        return 1;
    }

    // The demo's folder is made once the display is open: a display that will not open (Qt
    // aborts then) leaves nothing behind.
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    std::unique_ptr<DemoSession> session;
    if (line.demo) {
        session = std::make_unique<DemoSession>();
        if (!session->Ok()) {
            std::fprintf(stderr, "tensiq: %s\n", session->Error().c_str());
            return 1;
        }
        options.captionSuffix = QStringLiteral(" – Demo");
    }
    if (line.printLanguage) {
        // Printed first, then the language library let go: both must run, in this order.
        const int printed = theApp.PrintLanguage(options);
        const int exited = theApp.ExitInstance();
        return printed | exited;
    }
    CloseWindowsOnQuitSignal();
    if (!QuitSignalled())
        theApp.InitInstance(options);
    return theApp.ExitInstance();
}

} // namespace

// Whatever fails is said, never left to an abort.
int main(int argc, char** argv) {
    try {
        return RunWindow(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tensiq: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "tensiq: an unknown failure ended the program\n");
    }
    return 1;
}
