// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers of lists that start elsewhere than 1 scroll with their text, as
// the numbers of lists that start at 1 do.
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

QByteArray NumberedRtf(int start, int lines)
{
    QByteArray rtf = "{\\rtf1\\ansi";
    for (int i = 0; i < lines; ++i)
        rtf += "{\\*\\pn\\pnlvlbody\\pndec\\pnstart" + QByteArray::number(start) + "{\\pntxta .}}\\fi-360\\li720 item\\par";
    return rtf + "}";
}

QImage Shown(const QByteArray& rtf, int scrollTo = 0)
{
    RichEdit edit;
    edit.resize(300, 120);
    edit.SetScrollBars(false, true);
    edit.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&edit));
    StreamIn(edit, SF_RTF, rtf);
    QApplication::processEvents();
    edit.verticalScrollBar()->setValue(scrollTo);
    QApplication::processEvents();
    return edit.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool HasInk(const QImage& image, const QRect& area)
{
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != background)
                return true;
    return false;
}

TEST(ListNumbers, NumbersScrollWithTheirText)
{
    const QImage fromOne = Shown(NumberedRtf(1, 40), 100);
    const QImage fromFive = Shown(NumberedRtf(5, 40), 100);
    const QRect numbers(0, 0, 50, 100);
    // Scrolled, the numbers stand beside the same lines as Qt's own would.
    for (int y = 0; y < 100; ++y)
        EXPECT_EQ(HasInk(fromFive, QRect(0, y, 50, 1)), HasInk(fromOne, QRect(0, y, 50, 1))) << "row " << y;
    EXPECT_NE(fromFive.copy(numbers), fromOne.copy(numbers));
}

} // namespace
