// SPDX-License-Identifier: GPL-3.0-or-later
// Metafile pictures and objects without a picture, read back from pixels on the
// screen and on a page, written back byte for byte; hostile metafiles refused.
#include "metafilecheck.h"
#include "metafilerender.h"
#include "picturehandler.h"
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstring>

using namespace platform;
using namespace platform::test;

namespace {

QByteArray Sample(const char* name)
{
    QFile file(QStringLiteral(QUILLET_TEST_DATA "/metafiles/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage Screen(RichEdit& edit)
{
    edit.resize(500, 260);
    Grab(edit);
    PictureHandler::Instance().WaitForRendering();
    return Grab(edit);
}

// The box of the pixels near a colour.
QRect Box(const QImage& image, QColor colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Near(image.pixel(x, y), colour, 50))
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage Page(RichEdit& edit, int dpi)
{
    QImage page = PageImage(QSize(dpi * 4, dpi * 3), dpi);
    QPainter painter(&page);
    FORMATRANGE fr;
    fr.hdc = &painter;
    fr.hdcTarget = &page;
    fr.rc = {0, 0, 4 * 1440, 3 * 1440};
    fr.rcPage = fr.rc;
    fr.chrg = {0, -1};
    edit.FormatRange(&fr, true);
    return page;
}

std::uint32_t U32At(const QByteArray& data, qsizetype at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, data.constData() + at, 4);
    return value;
}

// The {\pict ...} group of an RTF file, as its bytes.
QByteArray PictGroup(const QByteArray& rtf)
{
    const qsizetype from = rtf.indexOf("{\\pict");
    return rtf.mid(from, rtf.indexOf('}', from) + 1 - from);
}

} // namespace

TEST(Pictures, MetafilesAreDrawnOnScreenAndOnPagesAtTheirSizeAndWrittenBackAsTheyCame)
{
    for (const char* name : {"shapes-wmf.rtf", "shapes-emf.rtf"}) {
        SCOPED_TRACE(name);
        const QByteArray rtf = Sample(name);
        ASSERT_FALSE(rtf.isEmpty());
        RichEdit edit;
        StreamIn(edit, SF_RTF, rtf);
        EXPECT_EQ(edit.DrawnObjectCount(), 1);

        // 3000 x 1500 twips: 200 x 100 pixels; the blue square fills 5 % to 45 %
        // of the width, the red ellipse 55 % to 95 %, both 10 % to 90 % of the height.
        const QImage screen = Screen(edit);
        const QRect blue = Box(screen, QColor(0, 0, 255));
        const QRect red = Box(screen, QColor(255, 0, 0));
        ASSERT_FALSE(blue.isEmpty());
        ASSERT_FALSE(red.isEmpty());
        EXPECT_NEAR(blue.width(), 80, 6);
        EXPECT_NEAR(blue.height(), 80, 6);
        EXPECT_NEAR(red.left() - blue.left(), 100, 6);
        // The Cyrillic caption is drawn in black over the square.
        EXPECT_FALSE(Box(screen.copy(blue), QColor(0, 0, 0)).isEmpty());

        // A 300-dpi page holds the same picture at its resolution, not a scaled
        // screen image: the same place in inches, the edges sharp.
        const QImage page = Page(edit, 300);
        const QRect printed = Box(page, QColor(0, 0, 255));
        EXPECT_NEAR(printed.width(), 80 * 300 / 96, 12);
        EXPECT_NEAR(printed.height(), 80 * 300 / 96, 12);

        // Written back as the bytes it came as, never as another format.
        const QByteArray out = StreamOut(edit, SF_RTF);
        EXPECT_TRUE(out.contains(PictGroup(rtf)));
        EXPECT_FALSE(out.contains("\\pngblip"));
    }
}

TEST(Pictures, WhatCannotBeDrawnShowsAFramedPlaceholderAndIsKept)
{
    // A metafile cut short inside a closed group, and an object that brought no
    // picture: neither may be an invisible character a user deletes unawares.
    const QByteArray wmf = PictGroup(Sample("shapes-wmf.rtf"));
    const QByteArray cut = wmf.left(wmf.size() / 2) + "}";
    const QByteArray object = "{\\object\\objemb\\objw1440\\objh720{\\*\\objclass Equation.3}{\\*\\objdata 0102}}";
    for (const QByteArray& group : {cut, object}) {
        SCOPED_TRACE(group.left(40).constData());
        const QByteArray rtf = "{\\rtf1\\ansi A " + group + " B\\par}";
        RichEdit edit;
        StreamIn(edit, SF_RTF, rtf);
        EXPECT_EQ(edit.DrawnObjectCount(), 1);
        const QImage screen = Screen(edit);
        const QRect frame = Box(screen, QColor(0x70, 0x70, 0x70));
        EXPECT_GE(frame.width(), 90);
        EXPECT_GE(frame.height(), 45);
        const QRect onPage = Box(Page(edit, 192), QColor(0x70, 0x70, 0x70));
        EXPECT_NEAR(onPage.width(), frame.width() * 2, 8);
        EXPECT_TRUE(StreamOut(edit, SF_RTF).contains(group));
    }
}

TEST(Pictures, HostileMetafilesAreRefusedQuicklyAndNeverCrash)
{
    const QByteArray wmf = Sample("shapes.wmf");
    const QByteArray emf = Sample("shapes.emf");
    ASSERT_TRUE(CheckWmf(wmf));
    ASSERT_TRUE(CheckEmf(emf));
    QElapsedTimer clock;
    clock.start();
    // Cut anywhere: the end record is gone.
    for (qsizetype n = 0; n < wmf.size() - 6; ++n)
        EXPECT_TRUE(RenderMetafile(PictureKind::Wmf, wmf.left(n), {50, 50}).isNull()) << n;
    for (qsizetype n = 0; n < emf.size() - 20; ++n)
        EXPECT_TRUE(RenderMetafile(PictureKind::Emf, emf.left(n), {50, 50}).isNull()) << n;
    const auto patched = [](QByteArray data, int at, std::uint32_t value) {
        std::memcpy(data.data() + at, &value, 4);
        return data;
    };
    // A first record that says it is 2^31 words, or no size at all (a loop for a
    // walker that trusts it).
    EXPECT_FALSE(CheckWmf(patched(wmf, 22 + 18, 0x80000000u)));
    EXPECT_FALSE(CheckWmf(patched(wmf, 22 + 18, 0)));
    EXPECT_FALSE(CheckEmf(patched(emf, 88 + 4, 0xFFFFFFF8u)));
    EXPECT_FALSE(CheckEmf(patched(emf, 88 + 4, 0)));
    // Extents of 2^31 in the enhanced header's frame; a window extent of nothing.
    EXPECT_FALSE(CheckEmf(patched(emf, 32, 0x7FFFFFFFu)));
    EXPECT_FALSE(CheckEmf(patched(emf, 24, 0x80000000u)));
    const QByteArray bare = wmf.mid(22);
    QByteArray noExtent = bare;
    const qsizetype ext = noExtent.indexOf(QByteArray::fromHex("0c02"));
    ASSERT_GT(ext, 0);
    noExtent.replace(ext + 2, 4, QByteArray(4, '\0'));
    EXPECT_FALSE(CheckWmf(noExtent));
    // A largest-record field of 2^30 words (the library allocates it), a false
    // end record before the rest, and a bitmap header of 2^30 pixels.
    EXPECT_FALSE(CheckWmf(patched(wmf, 22 + 12, 0x40000082u)));
    EXPECT_FALSE(CheckWmf(wmf.left(22 + 18) + QByteArray::fromHex("05000000000000000000") + wmf.mid(22 + 18)));
    const qsizetype dib = wmf.indexOf(QByteArray::fromHex("430f")) - 4 + 28;
    EXPECT_FALSE(CheckWmf(patched(wmf, int(dib) + 4, 0x8000u)));
    EXPECT_FALSE(CheckWmf(patched(patched(wmf, int(dib) + 4, 0x8000u), int(dib) + 8, 0x8000u)));
    // Text given as glyph numbers: the converter's font look-up aborts on it.
    qsizetype text = 0;
    while (text < emf.size() && U32At(emf, text) != 84)
        text += U32At(emf, text + 4);
    ASSERT_LT(text, emf.size());
    EXPECT_FALSE(CheckEmf(patched(emf, int(text) + 52, 0x10)));
    // A million empty records of the smallest size and no end.
    QByteArray endless = bare.left(18);
    const QByteArray nop = QByteArray::fromHex("030000001e01");   // SAVEDC
    for (int i = 0; i < 1'100'000; ++i)
        endless += nop;
    EXPECT_TRUE(RenderMetafile(PictureKind::Wmf, endless, {50, 50}).isNull());
    // A huge target size is drawn within bounds.
    EXPECT_LE(RenderMetafile(PictureKind::Emf, emf, {1 << 30, 1 << 30}).width(), MaxMetafilePixels);
    EXPECT_LT(clock.elapsed(), 20000);
}
