// SPDX-License-Identifier: GPL-3.0-or-later
// TUpdateThread, the progress ticker: after the streaming filled a quarter of
// the bar, it advances the bar at the pace the streaming had.
#pragma once

#include <QThread>

#include <atomic>
#include <cstdint>
#include <functional>

class TUpdateThread : public QThread {
    Q_OBJECT
public:
    // progress and mode are the window's fields; repaint only asks the GUI
    // thread to repaint the panel, it never paints from this thread.
    TUpdateThread(int intervalMs, std::atomic<std::uint8_t>& progress, std::atomic<std::uint8_t>& mode,
                  std::function<void()> repaint);

    // Asks the loop to end and waits for it.
    void Stop();

protected:
    void run() override;

private:
    int interval;
    std::atomic<std::uint8_t>& progress;
    std::atomic<std::uint8_t>& mode;
    std::function<void()> repaint;
};
