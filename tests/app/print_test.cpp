// SPDX-License-Identifier: GPL-3.0-or-later
// The print commands of the real window: Ctrl+P on a text with only the PDF
// printer, the PDF question and its answers, progress in caption and status bar,
// the printer list on the print button, page setup, the preview's numbering, and
// a desktop where nothing can print.
#include "testsupport.h"
#include "testsupport_store.h"
#include "testsupport_dialogs.h"
#include "testsupport_pdf.h"

#include "printer.h"
#include "qxpreview.h"
#include "registry.h"
#include "registrylayout.h"
#include "richedit.h"

#include <QApplication>
#include <QMenu>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

QByteArray Cp1251Lines(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += "\xd1\xf2\xf0\xee\xea\xe0 " + QByteArray::number(i) + " \xef\xe5\xf7\xe0\xf2\xe8\r\n";
    return bytes;
}

// The last line of a page's text: its number row at the foot.
QString FooterOf(const QString& file, int page)
{
    QStringList lines;
    for (const QString& line : PdfText(file, page).split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines.isEmpty() ? QString() : lines.last();
}

class PrintCommandTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        qunsetenv("QUILLET_NO_PDF_PRINTER");
        platform::Printer& printer = platform::SystemPrinter();
        printer.Refresh();
        for (int i = 0; i < int(printer.Printers().size()); ++i)
            if (printer.Printers()[std::size_t(i)].pdf)
                printer.SetPrinterIndex(i);
        printer.SetPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    }
    void TearDown() override
    {
        qunsetenv("QUILLET_NO_PDF_PRINTER");
        platform::SystemPrinter().Refresh();
        ViewTest::TearDown();
    }

    TfmView& StartWith(int lines, const QString& name = QStringLiteral("letter.txt"))
    {
        const QString file = MakeFile(name, Cp1251Lines(lines));
        TfmView& w = Start({file});
        EXPECT_TRUE(WaitUntil([&] { return w.TextReady && w.CurFileName == file; }));
        return w;
    }
};

TEST_F(PrintCommandTest, CtrlPWritesAPdfNamedAfterTheText)
{
    TfmView& w = StartWith(120);
    ASSERT_TRUE(w.sbPrint->isEnabled());
    const QString pdf = Path(QStringLiteral("letter.pdf"));
    prompter.AnswerFile(Chosen(pdf));
    QTest::keyClick(w.GEditor->Window(), Qt::Key_P, Qt::ControlModifier);

    ASSERT_EQ(prompter.Asked().size(), 1u);
    const PromptRecord& asked = prompter.Asked()[0];
    EXPECT_EQ(asked.kind, PromptKind::SaveFile);
    EXPECT_EQ(asked.request.directory, dir.path());
    EXPECT_EQ(asked.request.fileName, QStringLiteral("letter.pdf"));

    ASSERT_GE(PdfPageCount(pdf), 2);
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Строка 1 печати")));
    EXPECT_TRUE(text.contains(QStringLiteral("Строка 120 печати")));
    EXPECT_EQ(FooterOf(pdf, 2), QStringLiteral("2"));

    // The window is as it was (caption and progress: below).
    EXPECT_TRUE(w.TextReady);
    EXPECT_FALSE(w.GEditor->Modified());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(PrintCommandTest, ACancelledOrFailedJobKeepsTheOldPdfAndRestoresTheWindow)
{
    TfmView& w = StartWith(30);
    w.GEditor->SetModified(true);
    const QString pdf = MakeFile(QStringLiteral("letter.pdf"), "old contents");
    prompter.AnswerFile(std::nullopt).AnswerFile(Chosen(pdf)).AnswerMessage(MsgButton::No);
    w.sbPrint->click();
    w.sbPrint->click();
    EXPECT_EQ(ReadFile(pdf), QByteArray("old contents"));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages()[0], pdf + QStringLiteral(" is already exists. Rewrite it?"));

    prompter.AnswerFile(Chosen(QStringLiteral("/nonexistent-folder/letter.pdf"))).AnswerMessage(MsgButton::Ok);
    w.sbPrintClick();
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_TRUE(Messages()[1].startsWith(QStringLiteral("Can not write the file \"/nonexistent-folder/letter.pdf\"")));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("File ") + w.CurFileName);
    EXPECT_TRUE(w.TextReady);
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    prompter.AnswerFile(Chosen(pdf)).AnswerMessage(MsgButton::Yes);
    w.Item(QStringLiteral("N13"))->trigger();
    EXPECT_TRUE(ReadFile(pdf).startsWith("%PDF"));
    EXPECT_EQ(prompter.Pending(), 0u);
}

TEST_F(PrintCommandTest, ProgressShowsWhilePrintingAndTheCaptionComesBack)
{
    TfmView& w = StartWith(400);
    QStringList captions;
    int highest = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        captions << w.windowTitle();
        if (w.ProgressMode.load() == 1)
            highest = std::max(highest, int(w.Progress.load()));
    });
    sampler.start(0);
    prompter.AnswerFile(Chosen(Path(QStringLiteral("progress.pdf"))));
    w.sbPrintClick();
    sampler.stop();
    EXPECT_TRUE(captions.contains(QStringLiteral("Wait... pages printing: 3")));
    EXPECT_GE(highest, 50);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("File ") + w.CurFileName);
    EXPECT_EQ(w.Progress.load(), 0);
}

TEST_F(PrintCommandTest, PrintCommandsFollowTheText)
{
    TfmView& w = Start();
    EXPECT_FALSE(w.sbPrint->isEnabled());
    // Nothing to print: nothing happens, nothing is asked.
    w.sbPrintClick();
    w.mPreviewClick();
    EXPECT_TRUE(prompter.Asked().empty());

    w.GEditor->Window()->setFocus();
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("ab"));
    EXPECT_TRUE(w.sbPrint->isEnabled());
    EXPECT_TRUE(w.Item(QStringLiteral("mPreview"))->isEnabled());
    w.GEditor->SelectAll();
    QTest::keyClick(w.GEditor->Window(), Qt::Key_Delete);
    EXPECT_FALSE(w.sbPrint->isEnabled());
    EXPECT_TRUE(w.Item(QStringLiteral("N5"))->isEnabled());

    // The print button's menu lists the printers, the current one checked.
    emit w.PopupMenu3->aboutToShow();
    const QList<QAction*> items = w.PopupMenu3->actions();
    const platform::Printer& printer = platform::SystemPrinter();
    ASSERT_EQ(items.size(), qsizetype(printer.Printers().size()));
    ASSERT_FALSE(items.isEmpty());
    for (qsizetype i = 0; i < items.size(); ++i)
        EXPECT_EQ(items[i]->isChecked(), i == printer.PrinterIndex());
    items.last()->trigger();
    EXPECT_TRUE(printer.IsPdf());
}

TEST_F(PrintCommandTest, WithNoPrinterAtAllEveryCommandSaysSo)
{
    qputenv("QUILLET_NO_PDF_PRINTER", "1");
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has printers of its own";
    TfmView& w = StartWith(5);
    prompter.AnswerMessage(MsgButton::Ok).AnswerMessage(MsgButton::Ok).AnswerMessage(MsgButton::Ok);
    w.sbPrintClick();
    w.mPreviewClick();
    w.mPageClick();
    EXPECT_EQ(Messages(), QStringList(3, QStringLiteral("None of installed printer")));
    EXPECT_FALSE(w.ThePrinter);
}

TEST_F(PrintCommandTest, PageSetupFromTheMenuIsUsedByTheNextPrint)
{
    // What the dialog shows, stores and a cancel keeps is checked with the dialog.
    TfmView& w = StartWith(40);
    prompter.AnswerPageSetup(std::nullopt);
    w.mPageClick();
    ASSERT_EQ(prompter.Asked().size(), 1u);
    const PageSetupRequest& shown = prompter.Asked()[0].pageSetup;
    EXPECT_EQ(shown.printers.at(shown.pdfPrinter), QStringLiteral("PDF"));
    PageSetupAnswer answer;
    answer.printerIndex = shown.printerIndex;
    answer.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(40, 20, 20, 20),
                                QPageLayout::Millimeter);
    prompter.AnswerPageSetup(answer);
    w.mPageClick();
    const QString pdf = Path(QStringLiteral("letter.pdf"));
    prompter.AnswerFile(Chosen(pdf));
    w.sbPrintClick();
    const std::vector<PdfPage> pages = PdfPages(pdf);
    ASSERT_FALSE(pages.empty());
    EXPECT_NEAR(pages[0].width, 297.0 * 72 / 25.4, 1.0);   // landscape A4
    const std::vector<PdfWord> words = PdfWords(pdf);
    ASSERT_FALSE(words.empty());
    EXPECT_NEAR(words[0].box.left(), 40.0 * 72 / 25.4, 1.0);   // the 40 mm left margin
}

TEST_F(PrintCommandTest, ASettingOfTheWrongKindIsToldAndThePagesStillPrint)
{
    Store(RegistryKeys::Pages, {{PagesValue::Position, "top"}});
    TfmView& w = StartWith(20);
    const QString pdf = Path(QStringLiteral("letter.pdf"));
    prompter.AnswerFile(Chosen(pdf)).AnswerMessage(MsgButton::Ok);
    w.sbPrintClick();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains(QStringLiteral("Position"))) << Messages()[0].toStdString();
    EXPECT_EQ(PdfPageCount(pdf), 1);
}

TEST_F(PrintCommandTest, ThePreviewNumbersFromTheSettingsAndPrintingFromOne)
{
    Store(RegistryKeys::Pages, {{PagesValue::BeginN, 5}, {PagesValue::FirstPageN, 1}});
    TfmView& w = StartWith(150);
    const QString printed = Path(QStringLiteral("printed.pdf"));
    prompter.AnswerFile(Chosen(printed));
    w.sbPrintClick();
    EXPECT_EQ(FooterOf(printed, 1), QStringLiteral("1"));

    const QString previewed = Path(QStringLiteral("previewed.pdf"));
    prompter.AnswerPrint(PrintRangeAnswer{}).AnswerFile(Chosen(previewed));
    bool shown = false;
    std::function<void()> look = [&] {
        auto* form = qobject_cast<TPreviewForm*>(QApplication::activeModalWidget());
        if (!form) {
            QTimer::singleShot(10, look);
            return;
        }
        shown = true;
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Print preview ") + w.CurFileName);
        form->sbPrint->click();
        form->BitBtn1->click();
    };
    QTimer::singleShot(0, look);
    QTest::keyClick(w.GEditor->Window(), Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_TRUE(shown);
    EXPECT_EQ(FooterOf(previewed, 1), QStringLiteral("5"));
    EXPECT_EQ(FooterOf(previewed, 2), QStringLiteral("6"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("File ") + w.CurFileName);
}

} // namespace
