#include "QuitOnSignal.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <initializer_list>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tensiq {

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[0], &byte, 1);
}

} // namespace

void CatchQuitSignals() {
    if (g_signalPipe[0] >= 0 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(number, &action, nullptr);
    // A record that outgrows the file size limit or a pipe whose reader left is a failed write
    // the run reports, not a reason to lose the window.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
}

bool QuitSignalled() {
    if (g_signalPipe[1] < 0)
        return false;
    pollfd p{g_signalPipe[1], POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

void CloseWindowsOnQuitSignal() {
    if (g_signalPipe[1] < 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(g_signalPipe[1], &byte, 1);
        QApplication::closeAllWindows();
    });
}

} // namespace tensiq
