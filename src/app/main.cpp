// tensiq: the service tool's window. --demo runs it against a simulated device.

#include "DemoSession.h"
#include "QuitOnSignal.h"
#include "RopeLoadApp.h"

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
    QCoreApplication::setApplicationVersion(QStringLiteral(TENSIQ_VERSION));

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
    parser.addVersionOption();
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Run against a simulated device inside the program (ports COM1 silent, "
                       "COM2 noisy, COM3 the device, in a private temporary folder). The stored "
                       "profile and the last measurement are left untouched."));
    parser.addOption(demo);
    parser.process(arguments);

    std::unique_ptr<DemoSession> session;
    CRopeLoadApp::Options options;
    if (parser.isSet(demo)) {
        session = std::make_unique<DemoSession>();
        if (!session->Ok()) {
            std::fprintf(stderr, "tensiq: cannot make the demo's temporary folder\n");
            return 1;
        }
        options.captionSuffix = QStringLiteral(" – Demo");
    }

    QApplication app(argc, argv);
    QuitOnSignal();
    theApp.InitInstance(options);
    return theApp.ExitInstance();
}
