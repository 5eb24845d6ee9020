// The viewer window with a ten-minute record, a cursor and a range, as a PNG:
// tensiq-viewer-gallery OUT.png
#include "RecordChart.h"
#include "RecordViewer.h"

#include <QApplication>
#include <QSignalSpy>

#include <cmath>
#include <cstdio>
#include <random>
#include <unistd.h>

using namespace tensiq;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tensiq-viewer-gallery OUT.png\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    char path[] = "/tmp/tensiq-viewer-gallery-XXXXXX";
    const int fd = ::mkstemp(path);
    std::FILE* f = ::fdopen(fd, "w");
    std::fprintf(f, "07.12.2026 14:32:05\n");
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0, 3);
    for (int i = 0; i < 576 * 600; ++i) {
        const double t = i / 576.0;
        // Empty car, then loaded from minute 3 to 7, the ropes settling after each change.
        const double load = (t > 180 && t < 420) ? 160 : 0;
        const double settle = std::exp(-std::fmod(t, 180.0) / 8.0) * 30;
        for (int r = 0; r < 12; ++r)
            std::fprintf(
                f, "%d;",
                static_cast<int>(460 + r * 6 + load + settle * ((r % 3) - 1) + noise(random)));
        std::fputc('\n', f);
    }
    std::fclose(f);
    auto* viewer = new CRecordViewer(QString::fromLatin1(path), {});
    QSignalSpy loaded(viewer, &CRecordViewer::loaded);
    viewer->resize(1280, 620);
    viewer->show();
    loaded.wait(20000);
    viewer->Chart()->SetRange(576 * 240, 576 * 400);
    viewer->Chart()->SetCursorFrame(576 * 300);
    QApplication::processEvents();
    const bool ok = viewer->grab().save(QString::fromLocal8Bit(argv[1]));
    delete viewer;
    std::remove(path);
    return ok ? 0 : 1;
}
