// SPDX-License-Identifier: GPL-3.0-or-later
// The table of named temporary files and the handler that empties it. The
// handler only uses async-signal-safe calls (unlink, sigaction, raise) and
// lock-free atomics.
#include "savesignals.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace savesignals {

namespace {

constexpr int Slots = 32;
constexpr int TerminatingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

struct TSlot {
    std::atomic<bool> taken{false};
    std::atomic<bool> armed{false};
    char path[PATH_MAX] = {};
};

TSlot table[Slots];
std::atomic<int> criticalDepth{0};
std::atomic<int> pendingSignal{0};
std::atomic<bool> installed{false};

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler may only use lock-free atomics");

void RemoveAll()
{
    for (TSlot& slot : table)
        if (slot.armed.load())
            ::unlink(slot.path);
}

[[noreturn]] void EndBy(int signal)
{
    RemoveAll();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    sigset_t set;
    ::sigemptyset(&set);
    ::sigaddset(&set, signal);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);   // not reached: the default action ends the process
}

void OnSignal(int signal)
{
    if (criticalDepth.load() > 0) {
        pendingSignal.store(signal);
        return;
    }
    EndBy(signal);
}

} // namespace

void InstallTerminationCleanup()
{
    struct sigaction action {};
    action.sa_handler = OnSignal;
    ::sigemptyset(&action.sa_mask);
    for (const int s : TerminatingSignals)
        ::sigaddset(&action.sa_mask, s);
    action.sa_flags = SA_RESTART;
    for (const int s : TerminatingSignals)
        ::sigaction(s, &action, nullptr);
    ::signal(SIGXFSZ, SIG_IGN);
    installed.store(true);
}

int Remember(const char* path)
{
    if (std::strlen(path) >= PATH_MAX)
        return -1;
    for (int i = 0; i < Slots; ++i) {
        bool expected = false;
        if (table[i].taken.compare_exchange_strong(expected, true)) {
            std::strcpy(table[i].path, path);
            table[i].armed.store(true);
            return i;
        }
    }
    return -1;
}

void Forget(int slot)
{
    if (slot < 0 || slot >= Slots)
        return;
    table[slot].armed.store(false);
    table[slot].taken.store(false);
}

TCriticalSection::TCriticalSection()
{
    criticalDepth.fetch_add(1);
}

TCriticalSection::~TCriticalSection()
{
    if (criticalDepth.fetch_sub(1) == 1 && installed.load()) {
        const int signal = pendingSignal.exchange(0);
        if (signal != 0)
            EndBy(signal);
    }
}

} // namespace savesignals
