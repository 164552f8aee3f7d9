// POSIX termination signals delivered through a socket pair: the handler may only write().
#include "TerminationSignal.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_fds[2] = {-1, -1};
constexpr std::array<int, 3> Signals{SIGTERM, SIGINT, SIGHUP};

void onSignal(int)
{
    const char byte = 1;
    // Nothing to do when the pipe is full: a close is already pending.
    [[maybe_unused]] const auto written = ::write(g_fds[0], &byte, 1);
}

} // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_fds) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignal::drain);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : Signals) {
        sigaction(signal, &action, nullptr);
    }
}

TerminationSignal::~TerminationSignal()
{
    for (const int signal : Signals) {
        std::signal(signal, SIG_DFL);
    }
    for (int& fd : g_fds) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void TerminationSignal::drain()
{
    char buffer[16];
    while (::read(g_fds[1], buffer, sizeof buffer) > 0) {
    }
    emit received();
}
