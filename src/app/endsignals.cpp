// SPDX-License-Identifier: GPL-3.0-or-later
// The self-pipe between the terminating signals and the event loop.
#include "endsignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int EndingSignals[] = {SIGTERM, SIGHUP, SIGINT};

int pipeEnds[2] = {-1, -1};

void OnSignal(int signal)
{
    const int saved = errno;
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t ignored = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

} // namespace

void InstallEndSignals()
{
    if (pipeEnds[0] >= 0)
        return;
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;   // without the pipe the default actions stay
    struct sigaction action {};
    action.sa_handler = OnSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : EndingSignals)
        ::sigaction(s, &action, nullptr);
    // A save that meets a file-size limit fails as a full disk does, instead of
    // the process being killed half way.
    ::signal(SIGXFSZ, SIG_IGN);
}

TEndSignalWatcher::TEndSignalWatcher(std::function<void(int)> handler, QObject* parent)
    : QObject(parent), onSignal(std::move(handler))
{
    if (pipeEnds[0] < 0)
        return;
    notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TEndSignalWatcher::Drain);
}

void TEndSignalWatcher::Drain()
{
    char bytes[16];
    ssize_t n;
    while ((n = ::read(pipeEnds[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            if (received == 0)
                received = bytes[i];
            onSignal(bytes[i]);
        }
    }
}

void EndBySignal(int signal)
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}
