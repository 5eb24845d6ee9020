// tensiq: the service tool's window. --demo runs it against a simulated device.

#include "DemoSession.h"
#include "LanguageByLocale.h"
#include "QuitOnSignal.h"
#include "RopeLoadApp.h"
#include "Version.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <memory>

using namespace tensiq;

namespace {
// The one application object; its construction clears what a previous run may have left.
CRopeLoadApp theApp;
} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Tensiq"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersion));

    // Parsed before the GUI starts, so --help and --version work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Service tool for the rope-load measuring device of a lift: finds the device on a serial "
        "port, reads and writes its parameters, shows the live load of every rope and records "
        "each measurement."));
    parser.addHelpOption();
    // Printed as the command-line tools print it: the program's name and the one version.
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Print the version and exit."));
    parser.addOption(version);
    const QCommandLineOption language(
        QStringLiteral("language"),
        QStringLiteral("Run in German, English or Chinese, whatever the locale says. A language "
                       "library beside the program still decides."),
        QStringLiteral("de|en|zh"));
    parser.addOption(language);
    const QCommandLineOption printLanguage(
        QStringLiteral("print-language"),
        QStringLiteral("Print the language the program starts in, where its texts come from and "
                       "the main window's texts, then exit."));
    parser.addOption(printLanguage);
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Run against a simulated device inside the program (ports COM1 silent, "
                       "COM2 noisy, COM3 the device, in a private temporary folder). The stored "
                       "profile and the last measurement are left untouched."));
    parser.addOption(demo);
    parser.process(arguments);
    if (parser.isSet(version)) {
        std::printf("tensiq %s\n", kVersion);
        return 0;
    }

    std::unique_ptr<DemoSession> session;
    CRopeLoadApp::Options options;
    if (parser.isSet(language)) {
        const auto code = LanguageFromOption(parser.value(language).toStdString());
        if (!code) {
            std::fprintf(stderr, "tensiq: --language takes de, en or zh, not '%s'\n",
                         parser.value(language).toLocal8Bit().constData());
            return 2;
        }
        options.language = *code;
    }
    if (parser.isSet(demo)) {
        session = std::make_unique<DemoSession>();
        if (!session->Ok()) {
            std::fprintf(stderr, "tensiq: cannot make the demo's temporary folder\n");
            return 1;
        }
        options.captionSuffix = QStringLiteral(" – Demo");
    }

    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    if (parser.isSet(printLanguage))
        return theApp.PrintLanguage(options) | theApp.ExitInstance();
    QuitOnSignal();
    theApp.InitInstance(options);
    return theApp.ExitInstance();
}
