// SPDX-License-Identifier: GPL-3.0-or-later
// A paint device that answers only a resolution and a page size: text is measured
// for a printer through it while no job is open, and preview pages are recorded
// against it.
#pragma once

#include <QPaintDevice>
#include <QSize>

namespace platform {

class PageDevice : public QPaintDevice {
public:
    PageDevice(int dpiX, int dpiY, QSize pagePixels) : dpiX(dpiX), dpiY(dpiY), page(pagePixels) {}
    void Set(int x, int y, QSize pagePixels)
    {
        dpiX = x;
        dpiY = y;
        page = pagePixels;
    }
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int dpiX;
    int dpiY;
    QSize page;
};

} // namespace platform
