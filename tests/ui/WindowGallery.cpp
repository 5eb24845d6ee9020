// The main window as it opens, and with a run's readings, as PNGs for a person to look at.
// Usage: tensiq-window-gallery OUTPUT_FOLDER (language from TENSIQ_TEST_LANGUAGE)

#include "RopeLoadDlg.h"
#include "RopeLoadDlgProbe.h"
#include "UiTestSupport.h"
#include "WindowSink.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

using namespace tensiq;

int main(int argc, char** argv) {
    test::PrepareUiEnvironment();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tensiq-window-gallery OUTPUT_FOLDER\n");
        return 2;
    }
    const QString language = test::ChooseTestLanguage();
    const QString folder = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/') + language;
    QDir().mkpath(folder);

    test::RopeLoadDlgProbe dlg;
    if (!dlg.Create())
        return 1;
    dlg.show();
    test::Pump(50);
    bool ok = test::Grab(dlg).save(folder + QStringLiteral("/window-open.png"));

    // A frame as the acquisition thread would hand it: ropes of different loads, two marked.
    FrameUpdate update;
    for (int k = 0; k < kRopes; ++k) {
        update.displayValues[k] = 380 + 30 * k;
        update.loads[k] = update.displayValues[k];
        update.marked[k] = k == 4 || k == 9;
    }
    update.chartSampleDue = true;
    update.totalText = "Gesamt: 7800 kg";
    for (int i = 0; i < 120; ++i) {
        for (int k = 0; k < kRopes; ++k)
            update.displayValues[k] = 380 + 30 * k + (i * (k + 1)) % 40;
        dlg.Sink()->OnFrame(update);
        dlg.Sink()->ApplyPending();
    }
    test::Pump(50);
    ok = test::Grab(dlg).save(folder + QStringLiteral("/window-readings.png")) && ok;
    dlg.OnSwitchView();
    test::Pump(50);
    ok = test::Grab(dlg).save(folder + QStringLiteral("/window-chart.png")) && ok;
    return ok ? 0 : 1;
}
