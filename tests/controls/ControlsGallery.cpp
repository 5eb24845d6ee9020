// Writes each control in its named states as a PNG into the folder given as the argument.

#include "CaptionLabel.h"
#include "ControlsTestSupport.h"
#include "CurrentResourceModule.h"
#include "IconButton.h"
#include "LineChartCtrl.h"
#include "RopeBarCtrl.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace tensiq;

namespace {

// Every picture once more, side by side per control, for a look at all states at once.
std::vector<std::vector<QImage>> g_rows(1);

void NextRow() {
    g_rows.emplace_back();
}

bool Save(QWidget& widget, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    const QImage image = widget.grab().toImage();
    g_rows.back().push_back(image);
    if (!image.save(path)) {
        std::fprintf(stderr, "gallery: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool Bars(const QDir& dir) {
    struct State {
        const char* name;
        int pos;
        int target; // < 0: none
        bool marked;
    };
    const State states[] = {{"bar_0", 0, -1, false},
                            {"bar_500", 500, -1, false},
                            {"bar_1000", 1000, -1, false},
                            {"bar_above_full_scale_1500", 1500, -1, false},
                            {"bar_target_green", 395, 400, false},
                            {"bar_target_red", 390, 400, false},
                            {"bar_marked_grey", 500, -1, true}};
    bool ok = true;
    for (const State& s : states) {
        CRopeBarCtrl bar(nullptr, WS_BORDER | PBS_SMOOTH | PBS_VERTICAL);
        bar.resize(test::BarSize());
        test::ConfigureAsMainWindowBar(bar);
        if (s.target >= 0)
            bar.SetTarget(s.target, TRUE);
        if (s.marked)
            bar.m_bkColor = RGB(192, 192, 192);
        bar.SetPos(s.pos);
        ok = Save(bar, dir, QString::fromLatin1(s.name)) && ok;
    }
    return ok;
}

void FeedChart(CLineChartCtrl& chart, int advances) {
    for (int step = 0; step < advances; ++step) {
        for (int rope = 0; rope < 12; ++rope) {
            const double load = 450 + 40 * rope + 120 * std::sin(step / 6.0 + rope);
            chart.SetValue(rope, static_cast<std::uint32_t>(load));
        }
        chart.Advance();
    }
}

bool Chart(const QDir& dir) {
    CLineChartCtrl chart;
    chart.resize(test::ChartSize());
    test::AddMainWindowSeries(chart);
    FeedChart(chart, 50);
    bool ok = Save(chart, dir, QStringLiteral("chart_50_advances"));
    // Series added while the chart still has Qt's default size, laid out afterwards.
    QWidget window;
    CLineChartCtrl late(&window);
    test::AddMainWindowSeries(late);
    late.setGeometry(QRect(QPoint(0, 0), test::ChartSize()));
    FeedChart(late, 50);
    return Save(late, dir, QStringLiteral("chart_laid_out_late")) && ok;
}

bool Label(const QDir& dir) {
    CCaptionLabel label;
    label.resize(test::LabelSize());
    label.SetPointSize(16).SetFaceName(QStringLiteral("Arial"), 0).SetBold(TRUE);
    label.SetCaption(QStringLiteral("%1: 0 kg").arg(QStringLiteral("Gesamt")), TRUE);
    return Save(label, dir, QStringLiteral("label_initial"));
}

bool Buttons(const QDir& dir) {
    struct Look {
        const char* name;
        const char* caption;
        int icon;
        int width, height; // dialog units
        DWORD style;
    };
    const Look looks[] = {{"button_start", "Start", 133, 57, 31, BS_DEFPUSHBUTTON},
                          {"button_quit", "Beenden", 130, 94, 31, BS_PUSHBUTTON},
                          {"button_read", "Parameter\nauslesen", 131, 100, 30, BS_MULTILINE},
                          {"button_view", "", 137, 27, 17, BS_PUSHBUTTON}};
    bool ok = true;
    for (const Look& s : looks) {
        for (const char* state : {"normal", "hover", "pressed", "disabled"}) {
            CIconButton button(nullptr, s.style);
            button.resize(test::PixelsOf(s.width, s.height));
            button.SetWindowText(QString::fromUtf8(s.caption));
            button.SetIcons(s.icon, 0);
            const QString st = QString::fromLatin1(state);
            if (st == QStringLiteral("hover") || st == QStringLiteral("pressed")) {
                const QPointF at(5, 5);
                QMouseEvent move(QEvent::MouseMove, at, button.mapToGlobal(at), Qt::NoButton,
                                 Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(&button, &move);
            }
            if (st == QStringLiteral("pressed"))
                button.setDown(true);
            if (st == QStringLiteral("disabled"))
                button.setEnabled(false);
            ok = Save(button, dir, QString::fromLatin1(s.name) + QLatin1Char('_') + st) && ok;
        }
        NextRow();
    }
    return ok;
}

bool Overview(const QDir& dir) {
    constexpr int gap = 8;
    int width = 0;
    int height = gap;
    for (const auto& row : g_rows) {
        int w = gap, h = 0;
        for (const QImage& image : row) {
            w += image.width() + gap;
            h = std::max(h, image.height());
        }
        width = std::max(width, w);
        height += h + gap;
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(qRgb(96, 96, 96));
    QPainter painter(&sheet);
    int y = gap;
    for (const auto& row : g_rows) {
        int x = gap, h = 0;
        for (const QImage& image : row) {
            painter.drawImage(x, y, image);
            x += image.width() + gap;
            h = std::max(h, image.height());
        }
        y += h + gap;
    }
    painter.end();
    return sheet.save(dir.filePath(QStringLiteral("overview.png")));
}

} // namespace

int main(int argc, char** argv) {
    test::PrepareQtEnvironment();
    QApplication app(argc, argv);
    test::UseDialogFont();
    SetCurrentResourceModule(test::TestResourceModule());
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery"));
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "gallery: cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }
    bool ok = Bars(dir);
    NextRow();
    ok = Chart(dir) && ok;
    NextRow();
    ok = Label(dir) && ok;
    NextRow();
    ok = Buttons(dir) && ok;
    ok = Overview(dir) && ok;
    return ok ? 0 : 1;
}
