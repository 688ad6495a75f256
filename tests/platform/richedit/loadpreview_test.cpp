// SPDX-License-Identifier: GPL-3.0-or-later
// The start of a long text drawn while it is streamed in: shown over the view,
// gone afterwards, and nothing of it in the text, whether the stream fails or not.
#include "loadpreview.h"
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

struct Shown {
    QWidget window;
    RichEdit* edit = new RichEdit(&window);
    Shown()
    {
        window.resize(500, 300);
        edit->resize(500, 300);
        edit->SetScrollBars(false, true);
        window.show();
        QApplication::processEvents();
    }
    LoadPreview* Preview() const { return window.findChild<LoadPreview*>(); }
};

ByteSource ManyLines()
{
    ByteSource source;
    source.data = "see http://example.org/ first\r\n";
    for (int i = 0; i < 3000; ++i)
        source.data += "line " + QByteArray::number(i) + "\r\n";
    source.blockLimit = 4096;
    return source;
}

TEST(LoadPreview, ShowsTheStartWhileReadingAndLeavesNothingBehind)
{
    Shown shown;
    RichEdit& edit = *shown.edit;
    edit.SetText(u"old text\rsecond"_qs);
    edit.SetSel(2, 5);
    edit.SetModify(true);
    QTextDocument* const old = edit.Document();

    // Failing part way, after the preview was drawn: the old text stays, as it was.
    edit.PreviewNext = RichEdit::PreviewRequest{0, 0, nullptr};
    ByteSource failing = ManyLines();
    failing.failAt = 3;
    int darkWhileReading = 0;
    failing.onCall = [&](int call) {
        if (call != 2)
            return;
        ASSERT_NE(shown.Preview(), nullptr);
        darkWhileReading = Pixels(shown.Preview()->grab().toImage(), [](QRgb p) { return qGray(p) < 100; });
        EXPECT_EQ(edit.Document(), old);
    };
    std::uint32_t error = 0;
    StreamIn(edit, SF_TEXT, failing, &error);
    EXPECT_EQ(error, failing.failCode);
    EXPECT_GT(darkWhileReading, 100);
    EXPECT_EQ(shown.Preview(), nullptr);
    EXPECT_EQ(edit.Document(), old);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"old text\rsecond"_qs);
    EXPECT_EQ(edit.ExGetSel(), (CHARRANGE{2, 5}));
    EXPECT_TRUE(edit.GetModify());
    EXPECT_FALSE(edit.PreviewNext.has_value());

    // Read whole: the same text, caret, undo and view as a read with no preview,
    // and the link looks the same in the preview as in the text read.
    const auto linkPixels = [&](const QImage& image) {
        const QRgb link = edit.palette().color(QPalette::Link).rgb();
        return Pixels(image, [&](QRgb p) { return p == link; });
    };
    edit.AutoUrlDetect(true);
    Shown plain;
    ByteSource once = ManyLines();
    StreamIn(*plain.edit, SF_TEXT, once);
    edit.PreviewNext = RichEdit::PreviewRequest{0, 0, nullptr};
    ByteSource again = ManyLines();
    bool previewed = false;
    int linkWhileReading = 0;
    again.onCall = [&](int) {
        previewed = previewed || shown.Preview();
        if (shown.Preview() && !linkWhileReading)
            linkWhileReading = linkPixels(shown.Preview()->grab().toImage());
    };
    StreamIn(edit, SF_TEXT, again);
    EXPECT_TRUE(previewed);
    EXPECT_EQ(shown.Preview(), nullptr);
    QApplication::processEvents();
    EXPECT_EQ(edit.GetTextRange(0, -1), plain.edit->GetTextRange(0, -1));
    EXPECT_EQ(edit.ExGetSel(), plain.edit->ExGetSel());
    EXPECT_EQ(edit.CanUndo(), plain.edit->CanUndo());
    EXPECT_EQ(edit.GetModify(), plain.edit->GetModify());
    EXPECT_EQ(edit.verticalScrollBar()->value(), plain.edit->verticalScrollBar()->value());
    EXPECT_GT(linkWhileReading, 20);
    EXPECT_EQ(linkWhileReading, linkPixels(edit.viewport()->grab().toImage()));
}

} // namespace
