// The saved-run viewer with a one-hour record at the line limit (576 frames/s, about 2 million
// lines): the time and memory to load it, the chart's redraw time while panning at full view
// and zoomed in, and tensiq-cli stats against awk for the same sums.
#include "Decimation.h"
#include "RecordChart.h"
#include "RecordColumns.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace tensiq;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

long PeakKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

long CurrentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// Twelve ropes settling around 500 kg with noise and a car movement every minute.
void Generate(const std::string& path, long frames) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f, "07.12.2026 22:01:12\n");
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 4);
    for (long i = 0; i < frames; ++i) {
        const bool moving = (i / 576) % 60 < 8;
        for (int r = 0; r < kRecordRopes; ++r)
            std::fprintf(f, "%d;",
                         static_cast<int>(480 + r * 5 + (moving ? 150 : 0) + noise(random)));
        std::fputc('\n', f);
    }
    std::fclose(f);
}

double TimeCommand(const std::string& command) {
    const auto start = Clock::now();
    if (std::system((command + " > /dev/null").c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
    return Seconds(start);
}

} // namespace

int main(int argc, char** argv) {
    const long frames = 576L * 3600;
    char folder[] = "/tmp/tensiq-viewer-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr)
        return 1;
    const std::string path = std::string(folder) + "/hour.txt";
    Generate(path, frames);
    std::ifstream sizeOf(path, std::ios::ate | std::ios::binary);
    const double megabytes = static_cast<double>(sizeOf.tellg()) / 1e6;

    // Loaded before Qt starts, so the peak is the load's own.
    const long before = CurrentKiB();
    RecordColumns record;
    const auto start = Clock::now();
    const RecordSummary summary = record.Load(path);
    const double load = Seconds(start);
    std::printf("record: %ld frames, %.1f MB\n", static_cast<long>(summary.frames), megabytes);
    std::printf("load: %.3f s, peak memory %.1f MB (process %.1f MB before)\n", load,
                (PeakKiB() - before) / 1024.0, before / 1024.0);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CRecordChart chart;
    chart.resize(1200, 500);
    chart.SetRecord(&record);
    QImage image(chart.size(), QImage::Format_RGB32);
    auto panFrames = [&](double span, int steps) {
        chart.SetView(0, span);
        const auto t = Clock::now();
        for (int i = 0; i < steps; ++i) {
            chart.SetView(chart.ViewFirst() + span / 100, span);
            QPainter painter(&image);
            chart.render(&painter);
        }
        return Seconds(t) / steps * 1000.0;
    };
    const double full = panFrames(static_cast<double>(frames), 120);
    const double tenth = panFrames(static_cast<double>(frames) / 10, 120);
    const double minute = panFrames(576.0 * 60, 120);
    const double close = panFrames(300.0, 120);
    std::printf("redraw while panning, 1200x500 chart, the twelve ropes: whole hour %.2f ms, 6 min "
                "%.2f ms, 1 min %.2f ms, 300 frames %.2f ms (60 frames/s needs < 16.7 ms)\n",
                full, tenth, minute, close);

    // The decimation's share of a redraw at the whole hour.
    const auto t = Clock::now();
    for (int i = 0; i < 20; ++i)
        for (int s = 0; s < kSeriesCount; ++s)
            Decimate(record, s, i * 1000, frames - 20000, 1128);
    std::printf("decimation alone, whole hour, 13 series x 1128 columns: %.2f ms\n",
                Seconds(t) / 20 * 1000.0);

    const std::string cli = TENSIQ_CLI;
    const double stats = TimeCommand(cli + " stats " + path + " --json");
    const double awk = TimeCommand(
        "awk -F';' 'NR>1{for(i=1;i<=12;i++){s[i]+=$i;q[i]+=$i*$i;if(NR==2||$i<lo[i])lo[i]=$i;"
        "if(NR==2||$i>hi[i])hi[i]=$i}}END{for(i=1;i<=12;i++)print s[i],q[i],lo[i],hi[i]}' " +
        path);
    std::printf("tensiq-cli stats: %.3f s, awk for the same sums: %.3f s\n", stats, awk);
    std::remove(path.c_str());
    ::rmdir(folder);
    return 0;
}
