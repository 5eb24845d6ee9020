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

int RunWindow(int argc, char** argv) {
    CatchQuitSignals();
    QCoreApplication::setApplicationName(QStringLiteral("Tensiq"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersion));

    // Parsed before the GUI starts, so --help and --version work without a display.
    bool demoMode = false;
    bool showVersion = false;
    bool printLanguage = false;
    std::optional<QString> languageName;
    QStringList openFiles;
    {
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
        const QCommandLineOption printLanguageOption(
            QStringLiteral("print-language"),
            QStringLiteral("Print the language the program starts in, where its texts come "
                           "from and the main window's texts, then exit."));
        parser.addOption(printLanguageOption);
        const QCommandLineOption demo(
            QStringLiteral("demo"),
            QStringLiteral(
                "Run against a simulated device inside the program (ports COM1 silent, "
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
            openFiles << QFileInfo(file).absoluteFilePath();
        demoMode = parser.isSet(demo);
        showVersion = parser.isSet(version);
        printLanguage = parser.isSet(printLanguageOption);
        if (parser.isSet(language))
            languageName = parser.value(language);
    }
    if (showVersion) {
        std::printf("tensiq %s\n", kVersion);
        return 0;
    }

    std::unique_ptr<DemoSession> session;
    CRopeLoadApp::Options options;
    options.openFiles = openFiles;
    if (languageName) {
        const auto code = LanguageFromOption(languageName->toStdString());
        if (!code) {
            std::fprintf(stderr, "tensiq: --language takes de, en or zh, not '%s'\n",
                         languageName->toLocal8Bit().constData());
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
    if (demoMode) {
        session = std::make_unique<DemoSession>();
        if (!session->Ok()) {
            std::fprintf(stderr, "tensiq: %s\n", session->Error().c_str());
            return 1;
        }
        options.captionSuffix = QStringLiteral(" – Demo");
    }
    if (printLanguage)
        return theApp.PrintLanguage(options) | theApp.ExitInstance();
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
