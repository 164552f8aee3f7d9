// POSIX termination signals delivered through a socket pair: the handler may only write().
#include "qt/platform/TerminationSignal.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_fds[2] = {-1, -1};
constexpr std::array<int, 3> Signals{SIGTERM, SIGINT, SIGHUP};
// What each signal did before, to give it back; only those taken over are restored.
std::array<struct sigaction, Signals.size()> g_previous{};
std::array<bool, Signals.size()> g_taken{};

void onSignal(int)
{
    // The interrupted code may be about to read errno, and a full pipe makes write() set it.
    const int savedErrno = errno;
    const char byte = 1;
    // Nothing to do when the pipe is full: a close is already pending.
    [[maybe_unused]] const auto written = ::write(g_fds[0], &byte, 1);
    errno = savedErrno;
}

bool ignored(const struct sigaction& action)
{
    return (action.sa_flags & SA_SIGINFO) == 0 && action.sa_handler == SIG_IGN;
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
    for (std::size_t i = 0; i < Signals.size(); ++i) {
        // A signal ignored when the program started (nohup, a session that wants it to
        // survive a hang-up) stays ignored.
        g_taken[i] = sigaction(Signals[i], nullptr, &g_previous[i]) == 0 &&
                     !ignored(g_previous[i]) && sigaction(Signals[i], &action, nullptr) == 0;
    }
}

TerminationSignal::~TerminationSignal()
{
    for (std::size_t i = 0; i < Signals.size(); ++i) {
        if (g_taken[i]) {
            sigaction(Signals[i], &g_previous[i], nullptr);
            g_taken[i] = false;
        }
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
