// SPDX-License-Identifier: GPL-3.0-or-later
// The metrics of the resolution-only device.
#include "pagedevice.h"

#include <cmath>

namespace platform {

int PageDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return page.width();
    case PdmHeight:
        return page.height();
    case PdmWidthMM:
        return int(std::lround(page.width() * 25.4 / dpiX));
    case PdmHeightMM:
        return int(std::lround(page.height() * 25.4 / dpiY));
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return dpiY;
    case PdmDepth:
        return 24;
    case PdmNumColors:
        return 0xFFFFFF;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}

} // namespace platform
