// SPDX-License-Identifier: GPL-3.0-or-later
// Record walkers over metafile bytes: nothing reaches a drawing library that
// reads past its data, announces a size it does not have or has no end.
#include "metafilecheck.h"

#include <uemf.h>
#include <uemf_safe.h>
#include <uwmf.h>

#include <cstdint>
#include <cstring>

namespace platform {

namespace {

// Pictures of old documents hold thousands of records; a million is no picture.
constexpr std::uint32_t MaxRecords = 1'000'000;
constexpr qsizetype MaxBytes = 64 * 1024 * 1024;
// Extents beyond this are hostile: drawing libraries multiply them.
constexpr double MaxExtent = 1 << 24;
constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr int PlaceableSize = 22;
constexpr int WmfHeaderSize = 18;
constexpr std::uint16_t WmfEof = 0x0000;
constexpr std::uint16_t WmfSetWindowOrg = 0x020B;
constexpr std::uint16_t WmfSetWindowExt = 0x020C;
constexpr std::uint32_t EmfHeader = 1;
constexpr std::uint32_t EmfEof = 14;
constexpr std::uint32_t EmfSignature = 0x464D4520;
constexpr std::uint32_t EmfExtTextOutA = 83;
constexpr std::uint32_t EmfExtTextOutW = 84;
constexpr std::uint32_t EmfSmallTextOut = 108;
constexpr std::uint32_t EtoGlyphIndex = 0x0010;

std::uint16_t U16(const char* p)
{
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
std::int16_t S16(const char* p) { return std::int16_t(U16(p)); }
std::uint32_t U32(const char* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
std::int32_t S32(const char* p) { return std::int32_t(U32(p)); }

// Bitmaps inside pictures are small; the libraries allocate what a header says.
constexpr qint64 MaxBitmapPixels = 16 * 1024 * 1024;

// A device-independent bitmap at p whose record ends at end: a header the
// libraries read as they trust it, so its size, depth and bits must hold.
bool SaneDib(const char* p, const char* end)
{
    if (end - p < 12)
        return false;
    const std::uint32_t headerSize = U32(p);
    qint64 width, height;
    int bits;
    std::uint32_t compression = 0, colours = 0;
    if (headerSize == 12) {
        width = U16(p + 4);
        height = S16(p + 6);
        bits = U16(p + 10);
    } else {
        if (headerSize < 40 || headerSize > std::uint32_t(end - p))
            return false;
        width = S32(p + 4);
        height = S32(p + 8);
        bits = U16(p + 14);
        compression = U32(p + 16);
        colours = U32(p + 32);
    }
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return false;
    height = qAbs(height);
    if (width > MaxBitmapPixels || height > MaxBitmapPixels || width * height > MaxBitmapPixels)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if (colours > 256)
        return false;
    // Uncompressed bits must all be there; compressed ones are bounded by the record.
    if (compression == 0) {
        const qint64 stride = ((width * bits + 31) / 32) * 4;
        const qint64 palette = bits <= 8 ? qint64(colours ? colours : 1u << bits) * (headerSize == 12 ? 3 : 4) : 0;
        if (headerSize + palette + stride * height > end - p)
            return false;
    }
    return true;
}

// Where a bitmap record holds its bitmap, from the record's start; 0 for none.
int DibOffset(std::uint16_t function, std::uint32_t words)
{
    switch (function) {
    case 0x0F43: return 28;                          // STRETCHDIB
    case 0x0B41: return words > 13 ? 26 : 0;         // DIBSTRETCHBLT, without a bitmap when short
    case 0x0940: return words > 12 ? 22 : 0;         // DIBBITBLT
    case 0x0D33: return 24;                          // SETDIBTODEV
    case 0x0142: return 10;                          // DIBCREATEPATTERNBRUSH
    default: return 0;
    }
}

// The old device-dependent bitmaps: refused, no program of the archives' era
// wrote them into pictures and the library trusts their sizes.
bool OldBitmapRecord(std::uint16_t function, std::uint32_t words)
{
    return (function == 0x0922 && words > 12) || (function == 0x0B23 && words > 14) || function == 0x01F9
           || function == 0x02FD || function == 0x06FE;
}

bool SaneArea(const QRectF& r)
{
    return r.width() > 0 && r.height() > 0 && r.width() < MaxExtent && r.height() < MaxExtent
           && qAbs(r.left()) < MaxExtent && qAbs(r.top()) < MaxExtent;
}

} // namespace

bool CheckWmf(const QByteArray& data, MetafileFrame* frame)
{
    if (data.size() > MaxBytes)
        return false;
    const char* p = data.constData();
    const char* end = p + data.size();
    MetafileFrame found;
    if (data.size() >= PlaceableSize && U32(p) == PlaceableKey) {
        const QRectF box(QPointF(S16(p + 6), S16(p + 8)), QPointF(S16(p + 10), S16(p + 12)));
        const int inch = U16(p + 14);
        if (SaneArea(box.normalized()) && inch > 0) {
            found.unitsPerInch = inch;
            found.area = box.normalized();
            found.placeable = true;
        }
        p += PlaceableSize;
    }
    if (end - p < WmfHeaderSize)
        return false;
    const std::uint16_t type = U16(p), headerWords = U16(p + 2), version = U16(p + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x100 && version != 0x300))
        return false;
    // The library allocates its record buffer from the header's largest record
    // and reads every record into it.
    const std::uint32_t maxRecord = U32(p + 12);
    if (maxRecord < 3 || maxRecord > std::uint32_t(end - p) / 2)
        return false;
    p += WmfHeaderSize;
    QPointF origin;
    bool haveExtent = false;
    for (std::uint32_t count = 0; count < MaxRecords; ++count) {
        if (end - p < 6)
            return false;
        const std::uint32_t words = U32(p);
        const std::uint16_t function = U16(p + 4);
        if (words < 3 || words > std::uint32_t(end - p) / 2 || words > maxRecord)
            return false;
        const char* next = p + qsizetype(words) * 2;
        // The library dispatches on the low byte: a function it would take for
        // another than it is, or an end that is no end, is refused.
        if (U_wmr_values(function & 0xFF) != function || (function == WmfEof && words != 3))
            return false;
        if (function == WmfEof) {
            if (frame) {
                if (!found.placeable && haveExtent)
                    found.area = found.area.translated(origin);
                *frame = found;
            }
            return true;
        }
        // The library's own record check: counts and sizes inside the record.
        if (U_WMRRECSAFE_get(p, next) == 0)
            return false;
        if (const int dib = DibOffset(function, words); dib > 0 && !SaneDib(p + dib, next))
            return false;
        if (OldBitmapRecord(function, words))
            return false;
        if (!found.placeable && words >= 5) {
            if (function == WmfSetWindowOrg) {
                origin = QPointF(S16(p + 8), S16(p + 6));
            } else if (function == WmfSetWindowExt && !haveExtent) {
                const QRectF area(0, 0, S16(p + 8), S16(p + 6));
                if (!SaneArea(area.normalized()))
                    return false;
                found.area = area.normalized();
                haveExtent = true;
            }
        }
        p = next;
    }
    return false;
}

bool CheckEmf(const QByteArray& data, MetafileFrame* frame)
{
    if (data.size() < 88 || data.size() > MaxBytes)
        return false;
    const char* p = data.constData();
    const char* end = p + data.size();
    if (U32(p) != EmfHeader || U32(p + 40) != EmfSignature)
        return false;
    const QRectF bounds(QPointF(S32(p + 8), S32(p + 12)), QPointF(S32(p + 16) + 1.0, S32(p + 20) + 1.0));
    const QRectF frameArea(QPointF(S32(p + 24), S32(p + 28)), QPointF(S32(p + 32), S32(p + 36)));
    if (!SaneArea(frameArea.normalized()) || qAbs(bounds.left()) > MaxExtent || qAbs(bounds.right()) > MaxExtent
        || qAbs(bounds.top()) > MaxExtent || qAbs(bounds.bottom()) > MaxExtent)
        return false;
    for (std::uint32_t count = 0; count < MaxRecords; ++count) {
        if (end - p < 8)
            return false;
        const std::uint32_t type = U32(p), size = U32(p + 4);
        if (size < 8 || size % 4 != 0 || size > std::uint32_t(end - p))
            return false;
        if ((count == 0) != (type == EmfHeader) || type < U_EMR_MIN || type > U_EMR_MAX)
            return false;
        if (!U_emf_record_safe(p))
            return false;
        // Text given as glyph numbers makes the converter's font look-up abort.
        if ((type == EmfExtTextOutA || type == EmfExtTextOutW || type == EmfSmallTextOut)
            && (U32(p + (type == EmfSmallTextOut ? 20 : 52)) & EtoGlyphIndex))
            return false;
        if (type == EmfEof) {
            if (frame) {
                frame->area = bounds.normalized();
                frame->placeable = false;
            }
            return true;
        }
        p += size;
    }
    return false;
}

} // namespace platform
