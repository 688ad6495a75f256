// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the rich-edit control's tests, and the application object
// every widget test needs.
#include "testsupport.h"

#include "codepages.h"

#include <QApplication>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <cstring>

namespace platform::test {

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "richedit_test";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    void TearDown() override { delete app; }

private:
    QApplication* app = nullptr;
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

std::uint32_t ReadBytes(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb, std::int32_t* pcb)
{
    auto& source = *reinterpret_cast<ByteSource*>(cookie);
    *pcb = 0;
    source.largestRequest = std::max(source.largestRequest, cb);
    if (source.onCall)
        source.onCall(source.calls);
    if (source.calls++ == source.failAt)
        return source.failCode;
    const auto n = std::int32_t(std::min<qsizetype>({qsizetype(cb), qsizetype(source.blockLimit), source.data.size() - source.pos}));
    std::memcpy(buffer, source.data.constData() + source.pos, std::size_t(n));
    source.pos += n;
    *pcb = n;
    return 0;
}

std::uint32_t WriteBytes(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb, std::int32_t* pcb)
{
    auto& sink = *reinterpret_cast<ByteSink*>(cookie);
    *pcb = 0;
    if (sink.calls++ == sink.failAt)
        return sink.failCode;
    const std::int32_t n = std::min(cb, sink.takeAtMost);
    sink.data.append(reinterpret_cast<const char*>(buffer), n);
    *pcb = n;
    return 0;
}

} // namespace

std::int32_t StreamIn(RichEdit& edit, unsigned format, ByteSource& source, std::uint32_t* error)
{
    EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<std::uintptr_t>(&source);
    stream.pfnCallback = ReadBytes;
    const std::int32_t n = edit.StreamIn(format, stream);
    if (error)
        *error = stream.dwError;
    return n;
}

std::int32_t StreamIn(RichEdit& edit, unsigned format, const QByteArray& bytes, std::uint32_t* error)
{
    ByteSource source;
    source.data = bytes;
    return StreamIn(edit, format, source, error);
}

std::int32_t StreamOut(RichEdit& edit, unsigned format, ByteSink& sink, std::uint32_t* error)
{
    EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<std::uintptr_t>(&sink);
    stream.pfnCallback = WriteBytes;
    const std::int32_t n = edit.StreamOut(format, stream);
    if (error)
        *error = stream.dwError;
    return n;
}

QByteArray StreamOut(RichEdit& edit, unsigned format, std::uint32_t* error)
{
    ByteSink sink;
    StreamOut(edit, format, sink, error);
    return sink.data;
}

QByteArray Cp1251(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text)
        bytes.append(char(EncodeCp1251(c.unicode())));
    return bytes;
}

QByteArray Utf16(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

bool IsLink(RichEdit& edit, int from, int to)
{
    const CHARRANGE saved = edit.ExGetSel();
    edit.SetSel(from, to);
    const CHARFORMAT2 f = edit.GetCharFormat(SCF_SELECTION);
    edit.ExSetSel(saved);
    return (f.dwMask & CFM_LINK) && (f.dwEffects & CFE_LINK);
}

QByteArray ExpectSameRtfEveryCycle(RichEdit& edit, const std::function<QString(RichEdit&)>& view)
{
    const QString shown = view(edit);
    const QByteArray rtf = StreamOut(edit, SF_RTF);
    for (int cycle = 1; cycle <= 3; ++cycle) {
        StreamIn(edit, SF_RTF, rtf);
        EXPECT_EQ(view(edit), shown) << "cycle " << cycle << "\n" << rtf.constData();
        EXPECT_EQ(StreamOut(edit, SF_RTF), rtf) << "cycle " << cycle;
    }
    return rtf;
}

QImage Grab(RichEdit& edit)
{
    edit.show();
    QApplication::processEvents();
    QImage image(edit.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    edit.viewport()->render(&image);
    return image;
}

QImage PageImage(QSize size, int dpi)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

int Pixels(const QImage& image, const std::function<bool(QRgb)>& pass, QRect part)
{
    part = part.isEmpty() ? image.rect() : part & image.rect();
    int count = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            count += pass(image.pixel(x, y)) ? 1 : 0;
    return count;
}

bool Near(QRgb pixel, const QColor& colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) < tolerance && std::abs(qGreen(pixel) - colour.green()) < tolerance
        && std::abs(qBlue(pixel) - colour.blue()) < tolerance;
}

} // namespace platform::test
