// An independent bare reader: a process of its own that starts the device's stream and then
// makes one blocking read of a whole 40-byte frame per frame, nothing else. It prints the
// frames it measured and its CPU per frame over them, so the benchmark's floor can be checked
// against it. Given a record file it is the bare recorder: it also writes each frame's twelve
// loads as a line and flushes every 50 ms, the least any record costs.
//
//     tensiq-bare-reader PORT_PATH WARM_UP_FRAMES FRAMES [RECORD_FILE]
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <initializer_list>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kFrame = 40;

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void SetMinimum(int fd, termios& tio, int bytes) {
    tio.c_cc[VMIN] = static_cast<cc_t>(bytes);
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);
}

using Clock = std::chrono::steady_clock;
Clock::time_point g_unflushedSince;
bool g_unflushed = false;

void Record(std::FILE* file, const unsigned char* frame) {
    char line[12 * 12 + 1];
    char* end = line;
    for (int rope = 0; rope < 12; ++rope) {
        const int load = static_cast<std::int16_t>(frame[2 + 3 * rope] | frame[3 + 3 * rope] << 8);
        end = std::to_chars(end, line + sizeof line, load).ptr;
        *end++ = ';';
    }
    *end++ = '\n';
    std::fwrite(line, 1, static_cast<std::size_t>(end - line), file);
    const Clock::time_point now = Clock::now();
    if (!g_unflushed) {
        g_unflushed = true;
        g_unflushedSince = now;
    } else if (now - g_unflushedSince >= std::chrono::milliseconds(50)) {
        std::fflush(file);
        g_unflushed = false;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s PORT_PATH WARM_UP_FRAMES FRAMES [RECORD_FILE]\n", argv[0]);
        return 2;
    }
    const long warmUp = std::atol(argv[2]);
    const long frames = std::atol(argv[3]);
    const int fd = ::open(argv[1], O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::FILE* record = argc == 5 ? std::fopen(argv[4], "w") : nullptr;
    if (fd < 0 || warmUp < 0 || frames <= 0 || (argc == 5 && record == nullptr)) {
        std::perror("bare reader");
        return 1;
    }
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B230400);
    ::cfsetospeed(&tio, B230400);
    SetMinimum(fd, tio, 1);
    for (const char c : {'X', 'B', 'N', 'S'}) {
        ::usleep(100'000);
        if (c == 'B')
            ::tcflush(fd, TCIFLUSH);
        if (::write(fd, &c, 1) != 1)
            return 1;
    }
    unsigned char frame[kFrame];
    long seen = 0;
    double cpu0 = 0;
    while (seen < warmUp + frames) {
        // Synchronised on a frame's end, then whole frames until one is not.
        while (::read(fd, frame, 1) == 1 && frame[0] != 0x0D) {
        }
        SetMinimum(fd, tio, kFrame);
        while (seen < warmUp + frames && ::read(fd, frame, kFrame) == kFrame && frame[0] == 0x4C &&
               frame[kFrame - 1] == 0x0D) {
            if (++seen == warmUp)
                cpu0 = ProcessCpuSeconds();
            if (record != nullptr)
                Record(record, frame);
        }
        SetMinimum(fd, tio, 1);
    }
    const double cpu = ProcessCpuSeconds() - cpu0;
    const char quiet = 'X';
    if (::write(fd, &quiet, 1) != 1)
        return 1;
    ::close(fd);
    if (record != nullptr && std::fclose(record) != 0)
        return 1;
    std::printf("%ld %.3f\n", frames, cpu * 1e6 / static_cast<double>(frames));
    return 0;
}
