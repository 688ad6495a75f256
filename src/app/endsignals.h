// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM, SIGHUP and SIGINT for the window: a desktop logout, a shutdown, Ctrl+C
// in the terminal it was started from. The handler only notes the signal in a
// pipe (the one async-signal-safe way to reach the event loop); the loop then
// ends the window as a close that asks nothing.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Installs the handlers; call it first thing, so that a signal that comes before
// the window exists waits in the pipe instead of killing the process.
void InstallEndSignals();

// Calls onSignal on the event loop for each signal noted. Needs the application.
class TEndSignalWatcher : public QObject {
public:
    explicit TEndSignalWatcher(std::function<void(int)> onSignal, QObject* parent = nullptr);

    // The first signal received, or 0.
    int Received() const { return received; }

private:
    void Drain();

    std::function<void(int)> onSignal;
    QSocketNotifier* notifier = nullptr;
    int received = 0;
};

// Ends the process by the signal it received, as if it had not been caught, so
// that a shell sees how the program ended.
[[noreturn]] void EndBySignal(int signal);
