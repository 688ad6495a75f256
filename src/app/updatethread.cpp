// SPDX-License-Identifier: GPL-3.0-or-later
// The ticker's loop: one twentieth per interval from a quarter up to 19/20.
#include "updatethread.h"

namespace {

constexpr std::uint8_t TickFrom = 5;
constexpr std::uint8_t TickUntil = 19;

} // namespace

TUpdateThread::TUpdateThread(int intervalMs, std::atomic<std::uint8_t>& progressRef,
                             std::atomic<std::uint8_t>& modeRef, std::function<void()> repaintRequest)
    : interval(intervalMs), progress(progressRef), mode(modeRef), repaint(std::move(repaintRequest))
{
}

void TUpdateThread::Stop()
{
    requestInterruption();
    wait();
}

void TUpdateThread::run()
{
    while (!isInterruptionRequested()) {
        const std::uint8_t p = progress.load();
        if (p < TickFrom || p >= TickUntil)
            break;
        progress.store(static_cast<std::uint8_t>(p + 1));
        mode.store(0);
        repaint();
        // Sleep in short slices so that a stop is honoured at once.
        for (int slept = 0; slept < interval && !isInterruptionRequested(); slept += 10)
            msleep(static_cast<unsigned long>(std::min(10, interval - slept)));
    }
}
