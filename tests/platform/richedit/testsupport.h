// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the rich-edit control's tests: byte streams through the
// control's callbacks, and small text utilities.
#pragma once

#include "richedit.h"

#include <QByteArray>
#include <QImage>

#include <functional>

#include <climits>
#include <cstdint>

#include <ostream>

namespace platform {

inline bool operator==(CHARRANGE a, CHARRANGE b)
{
    return a.cpMin == b.cpMin && a.cpMax == b.cpMax;
}

inline void PrintTo(CHARRANGE r, std::ostream* os)
{
    *os << "{" << r.cpMin << ", " << r.cpMax << "}";
}

} // namespace platform

namespace platform::test {

// A source of bytes for StreamIn. Each call hands at most blockLimit bytes; the
// call numbered failAt (from 0) answers failCode instead.
struct ByteSource {
    QByteArray data;
    qsizetype pos = 0;
    int blockLimit = INT_MAX;
    int failAt = -1;
    std::uint32_t failCode = 7;
    int calls = 0;
    std::int32_t largestRequest = 0;
    std::function<void(int call)> onCall = nullptr;   // runs before each call is answered
};

// A sink for StreamOut, failing like ByteSource; takeAtMost limits what one call takes.
struct ByteSink {
    QByteArray data;
    int failAt = -1;
    std::uint32_t failCode = 9;
    int calls = 0;
    std::int32_t takeAtMost = INT_MAX;
};

std::int32_t StreamIn(RichEdit& edit, unsigned format, ByteSource& source, std::uint32_t* error = nullptr);
std::int32_t StreamIn(RichEdit& edit, unsigned format, const QByteArray& bytes, std::uint32_t* error = nullptr);
QByteArray StreamOut(RichEdit& edit, unsigned format, std::uint32_t* error = nullptr);
std::int32_t StreamOut(RichEdit& edit, unsigned format, ByteSink& sink, std::uint32_t* error = nullptr);

// Writes the control's RTF and reads it back three times: each time it must show
// the same (as view tells) and write the very same bytes. Answers the RTF.
QByteArray ExpectSameRtfEveryCycle(RichEdit& edit, const std::function<QString(RichEdit&)>& view);

// Whether every character from..to is a link; the selection is left as it was.
bool IsLink(RichEdit& edit, int from, int to);

// What the control shows: it is shown, events run, and its viewport is drawn on white.
QImage Grab(RichEdit& edit);
// A white page of the size in pixels at the resolution, as a printer's page is.
QImage PageImage(QSize size, int dpi);
// The pixels of a part of an image (all of it when part is empty) that pass a test.
int Pixels(const QImage& image, const std::function<bool(QRgb)>& pass, QRect part = {});
// Whether a pixel is within tolerance of a colour on each channel.
bool Near(QRgb pixel, const QColor& colour, int tolerance = 40);

// Windows-1251 bytes of a text written here in UTF-8.
QByteArray Cp1251(const QString& text);
// UTF-16LE bytes of a text.
QByteArray Utf16(const QString& text);

} // namespace platform::test
