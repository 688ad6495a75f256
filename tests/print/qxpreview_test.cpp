// SPDX-License-Identifier: GPL-3.0-or-later
// The print preview through the printer component: its page files live in a
// folder of its own while the window is open and are gone after; paging, the page
// field and zoom; printing a range of recorded pages; recording that fails.
#include "testsupport.h"

#include "qxpreview.h"
#include "printer.h"
#include "qxprint.h"
#include "registry.h"
#include "registrylayout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

class PreviewTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        // Page files go below a temporary folder of the test's own.
        savedTmp = qgetenv("TMPDIR");
        tmp = Path(QStringLiteral("tmp"));
        QDir().mkpath(tmp);
        qputenv("TMPDIR", tmp.toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("TMPDIR", savedTmp);
        PrintTest::TearDown();
    }

    // Runs the preview and acts on its window once it shows; answers whether the
    // window came up. The window is closed after act unless act closed it.
    bool WithPreview(TqxPrinter& printer, const std::function<void(TPreviewForm&)>& act)
    {
        bool shown = false;
        int tries = 0;
        std::function<void()> look = [&] {
            auto* form = qobject_cast<TPreviewForm*>(QApplication::activeModalWidget());
            if (!form) {
                if (++tries < 500)
                    QTimer::singleShot(10, look);
                return;
            }
            shown = true;
            act(*form);
            if (form->isVisible())
                form->BitBtn1->click();
        };
        QTimer::singleShot(0, look);
        printer.Preview(&Editor());
        return shown;
    }

    // The folders the previews made below the temporary folder.
    QStringList PreviewFolders() const
    {
        return QDir(tmp).entryList({QStringLiteral("quillet-preview-*")}, QDir::Dirs);
    }

    QString tmp;
    QByteArray savedTmp;
};

TEST_F(PreviewTest, PageFilesLiveInAPrivateFolderWhileOpenAndGoAfterClose)
{
    // A page file of someone else's preview in the shared temporary folder.
    const QString foreign = tmp + QStringLiteral("/~t000000.prn");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLET_TEST_DATA "/rtf/hyperlink_and_picture.rtf"), foreign));
    Editor().SetText(RussianLines(150));
    TqxPrinter printer;
    printer.LoadSettings();
    QStringList filesWhileOpen;
    QString folder;
    QFile::Permissions permissions;
    int stored = 0;
    ASSERT_TRUE(WithPreview(printer, [&](TPreviewForm& form) {
        folder = form.TempDir();
        filesWhileOpen = FilesIn(folder);
        permissions = QFileInfo(folder).permissions();
        stored = form.StoredPages();
    }));
    ASSERT_GE(stored, 3);
    QStringList expected;
    for (int i = 0; i < stored; ++i)
        expected << QStringLiteral("~t%1.prn").arg(i, 6, 10, QLatin1Char('0'));
    EXPECT_EQ(filesWhileOpen, expected);
    EXPECT_TRUE(folder.startsWith(tmp + QStringLiteral("/quillet-preview-")));
    EXPECT_EQ(permissions & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              QFile::Permissions());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(PreviewFolders().isEmpty());
    EXPECT_TRUE(QFile::exists(foreign));
}

TEST_F(PreviewTest, PagingKeysButtonsAndThePageFieldStopAtTheEnds)
{
    Editor().SetText(RussianLines(250));
    TqxPrinter printer;
    printer.LoadSettings();
    ASSERT_TRUE(WithPreview(printer, [](TPreviewForm& form) {
        const int last = form.StoredPages() - 1;
        ASSERT_GE(last, 3);
        EXPECT_EQ(form.LastPage, last);
        EXPECT_TRUE(!form.sbPrev->isEnabled() && form.sbNext->isEnabled());
        // Each step, then the page it shows; the buttons go grey at the ends.
        const std::pair<std::function<void()>, int> steps[] = {
            {[&] { form.sbNext->click(); }, 1}, {[&] { QTest::keyClick(&form, Qt::Key_End); }, last},
            {[&] { QTest::keyClick(&form, Qt::Key_PageUp); }, last - 1}, {[&] { QTest::keyClick(&form, Qt::Key_Home); }, 0},
            {[&] { form.SpinButton1Down->click(); }, last}, {[&] { form.SpinButton1Up->click(); }, 0}};
        for (const auto& [step, page] : steps) {
            step();
            EXPECT_EQ(form.PageIndex, page);
            EXPECT_EQ(form.ePage->text(), QString::number(page + 1));
            EXPECT_EQ(form.sbPrev->isEnabled(), page > 0);
            EXPECT_EQ(form.sbNext->isEnabled(), page < last);
        }

        // Typed page numbers: beyond the ends they stop at the ends; only digits go in.
        struct Typed { const char* keys; int page; };
        for (const Typed& t : {Typed{"3", 2}, Typed{"0", 0}, Typed{"999", last}, Typed{"", 0},
                               Typed{"2x", 1}, Typed{"99999999999999999999", last}}) {
            form.ePage->clear();
            form.ePage->setFocus();
            QTest::keyClicks(form.ePage, QString::fromLatin1(t.keys));
            QTest::keyClick(form.ePage, Qt::Key_Return);
            EXPECT_EQ(form.PageIndex, t.page) << "typed \"" << t.keys << '"';
            EXPECT_EQ(form.ePage->text(), QString::number(t.page + 1));
        }
    }));

    // A text of one page has nowhere to go.
    Editor().SetText(RussianLines(5));
    ASSERT_TRUE(WithPreview(printer, [](TPreviewForm& form) {
        EXPECT_EQ(form.StoredPages(), 1);
        EXPECT_FALSE(form.sbPrev->isEnabled());
        EXPECT_FALSE(form.sbNext->isEnabled());
        QTest::keyClick(&form, Qt::Key_PageDown);
        QTest::keyClick(&form, Qt::Key_End);
        EXPECT_EQ(form.PageIndex, 0);
        EXPECT_EQ(form.ePage->text(), QStringLiteral("1"));
    }));
}

// Dark pixels in a band of an image's rows, as a share of the band.
double InkIn(const QImage& image, double fromShare, double toShare)
{
    const int y0 = int(image.height() * fromShare);
    const int y1 = int(image.height() * toShare);
    int dark = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++dark;
    return double(dark) / std::max(1, (y1 - y0) * image.width());
}

TEST_F(PreviewTest, ZoomModesSizeThePageAndTellTheScale)
{
    Editor().SetText(RussianLines(120));
    TqxPrinter printer;
    printer.LoadSettings();
    printer.PageBorders = {TPageBorder::pbTop, TPageBorder::pbBottom, TPageBorder::pbLeft, TPageBorder::pbRight};
    ASSERT_TRUE(WithPreview(printer, [](TPreviewForm& form) {
        const QSize client = form.ScrollBox1->maximumViewportSize();
        // Whole page: the height of the window less 7 pixels above and below.
        EXPECT_TRUE(form.sbHeight->isChecked());
        EXPECT_EQ(form.Image1->height(), client.height() - 14);
        QApplication::processEvents();
        EXPECT_FALSE(form.ScrollBox1->verticalScrollBar()->isVisible());
        EXPECT_NEAR(double(form.Image1->height()) / form.Image1->width(), 297.0 / 210.0, 0.01);
        EXPECT_NEAR(form.Image1->geometry().center().x(), client.width() / 2, 1);
        // The page shows: text in its middle, blank paper above the top margin.
        const QImage shown = form.Image1->Picture();
        EXPECT_GT(InkIn(shown, 0.2, 0.8), 0.02);
        EXPECT_LT(InkIn(shown, 0.0, 0.05), 0.001);

        form.sb100->click();
        EXPECT_EQ(form.Label1->text(), QStringLiteral("100 %"));
        const double k = double(form.logicalDpiY()) / form.PrinterDpi;
        EXPECT_NEAR(form.Image1->width(), form.PagePixelWidth * k, 1.0);

        form.sbWidth->click();
        // The page fills the width left beside the vertical bar it needs.
        QApplication::processEvents();
        EXPECT_TRUE(form.ScrollBox1->verticalScrollBar()->isVisible());
        EXPECT_FALSE(form.ScrollBox1->horizontalScrollBar()->isVisible());
        EXPECT_EQ(form.Image1->width(), form.ScrollBox1->viewport()->width() - 20);
        EXPECT_EQ(form.Label1->text(),
                  QString::number(std::lround(form.Image1->height() * 100.0 * form.PrinterDpi
                                              / (form.logicalDpiY() * form.PagePixelHeight)))
                      + QStringLiteral(" %"));
    }));
}

TEST_F(PreviewTest, ARangeOfRecordedPagesPrintsAsOneJobNumberedFromTheSettings)
{
    {
        platform::TRegistry reg;
        reg.OpenKey(RegistryKeys::Pages, true);
        reg.WriteInteger(PagesValue::BeginN, 5);
    }
    Editor().SetText(RussianLines(250));
    TqxPrinter printer;
    printer.LoadSettings();
    const QString pdf = Path(QStringLiteral("range.pdf"));
    prompter.AnswerPrint(PrintRangeAnswer{.range = PrintRange::PageRange, .fromPage = 2, .toPage = 3})
        .AnswerFile(FileDialogAnswer{.files = {pdf}});
    int pages = 0;
    ASSERT_TRUE(WithPreview(printer, [&](TPreviewForm& form) {
        pages = form.StoredPages();
        form.sbPrint->click();
        EXPECT_EQ(form.PageIndex, 2);   // the last page printed is shown
    }));
    ASSERT_EQ(prompter.Asked().size(), 2u);
    EXPECT_EQ(prompter.Asked()[0].print.maxPage, pages);
    EXPECT_EQ(prompter.Asked()[1].request.fileName, QStringLiteral("Text input.pdf"));
    EXPECT_EQ(PdfPageCount(pdf), 2);
    // Numbered from 5: the second and third pages are 6 and 7.
    EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("\n6\n")) || PdfText(pdf, 1).trimmed().endsWith(u'6'));
    EXPECT_TRUE(PdfText(pdf, 2).trimmed().endsWith(u'7'));
    EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("Строка")));
}

TEST_F(PreviewTest, CancelledOrFailedPrintsFromThePreviewWriteNothing)
{
    Editor().SetText(RussianLines(100));
    TqxPrinter printer;
    printer.LoadSettings();
    const FileDialogAnswer unwritable{.files = {Path(QStringLiteral("missing/folder/pages.pdf"))}};
    prompter.AnswerPrint(std::nullopt)
        .AnswerPrint(PrintRangeAnswer{})
        .AnswerFile(std::nullopt)
        .AnswerPrint(PrintRangeAnswer{})
        .AnswerFile(unwritable)
        .AnswerMessage(MsgButton::Ok);
    ASSERT_TRUE(WithPreview(printer, [](TPreviewForm& form) {
        for (int i = 0; i < 3; ++i)
            form.sbPrint->click();
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.sbPrint->isDown());
    }));
    EXPECT_EQ(prompter.Pending(), 0u);
    ASSERT_EQ(prompter.Asked().back().kind, PromptKind::Message);
    EXPECT_TRUE(prompter.Asked().back().text.startsWith(QStringLiteral("Can not write the file")));
    EXPECT_TRUE(FilesIn(dir.path(), QStringLiteral("*.pdf")).isEmpty());
    EXPECT_FALSE(platform::SystemPrinter().Printing());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PreviewTest, RecordingThatFailsOrAFolderThatCannotBeUsedIsToldOnceAndLeavesNoPages)
{
    Editor().SetText(RussianLines(250));
    Editor().SetModified(true);
    TqxPrinter printer;
    printer.LoadSettings();
    // The fourth page's file name is taken by a folder when the third page begins.
    printer.OnPage = [&](TqxPrinter*, const QString& mess, int, int) {
        if (mess.endsWith(QStringLiteral(": 3"))) {
            const QStringList folders = PreviewFolders();
            ASSERT_EQ(folders.size(), 1);
            QDir(tmp + u'/' + folders.first()).mkdir(QStringLiteral("~t000002.prn"));
        }
    };
    prompter.AnswerMessage(MsgButton::Ok).AnswerMessage(MsgButton::Ok);
    EXPECT_FALSE(WithPreview(printer, [](TPreviewForm&) {}));
    ASSERT_EQ(prompter.Asked().size(), 1u);
    EXPECT_EQ(prompter.Asked()[0].text, QStringLiteral("Not be able to save the page in MetaFile"));
    const QStringList folders = PreviewFolders();
    ASSERT_EQ(folders.size(), 1);   // kept only for what someone else put there
    EXPECT_TRUE(FilesIn(tmp + u'/' + folders.first()).isEmpty());
    EXPECT_TRUE(Editor().Modified());

    // A temporary folder that cannot be used is told alike.
    printer.OnPage = nullptr;
    qputenv("TMPDIR", Path(QStringLiteral("missing/folder")).toLocal8Bit());
    EXPECT_FALSE(WithPreview(printer, [](TPreviewForm&) {}));
    ASSERT_EQ(prompter.Asked().size(), 2u);
    EXPECT_EQ(prompter.Asked()[1].text, QStringLiteral("Not be able to save the page in MetaFile"));
}

} // namespace
