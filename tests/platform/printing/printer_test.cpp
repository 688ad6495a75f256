// SPDX-License-Identifier: GPL-3.0-or-later
// The printer object: the built-in PDF printer is always listed, its paper and
// resolution give the device values, a job writes its file only when it ends
// well, and recorded pages play back at any scale.
#include "pagemetafile.h"
#include "printer.h"
#include "testapp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QDir>
#include <QPrinterInfo>
#include <QTemporaryDir>

namespace {

using namespace platform;

int PdfIndex(const Printer& printer)
{
    for (int i = 0; i < int(printer.Printers().size()); ++i)
        if (printer.Printers()[std::size_t(i)].pdf)
            return i;
    return -1;
}

QByteArray Read(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PdfPrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        printer.SetPrinterIndex(PdfIndex(printer));
        printer.SetPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    }
    QApplication& app = TestApp();
    QTemporaryDir dir;
    Printer printer;
};

TEST_F(PdfPrinterTest, IsListedLastAndItsDeviceValuesFollowThePaperAndOrientation)
{
    ASSERT_GE(PdfIndex(printer), 0);
    EXPECT_EQ(int(printer.Printers().size()), int(QPrinterInfo::availablePrinterNames().size()) + 1);
    EXPECT_EQ(PdfIndex(printer), int(printer.Printers().size()) - 1);
    EXPECT_THROW(printer.SetPrinterIndex(int(printer.Printers().size())), EPrinter);
    // A4 at 600 dots per inch, the reference device measuring text alike.
    EXPECT_EQ(printer.PhysicalWidth(), 4961);
    EXPECT_EQ(printer.HorzRes(), printer.PhysicalWidth());
    EXPECT_EQ(printer.ReferenceDevice().logicalDpiY(), printer.LogPixelsY());
    printer.SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_EQ(printer.PhysicalWidth(), 7016);
    EXPECT_EQ(printer.VertRes(), 4961);
    EXPECT_EQ(printer.ReferenceDevice().width(), 7016);
}

TEST_F(PdfPrinterTest, AJobWritesItsFileOnlyWhenItEnds)
{
    const QString pdf = dir.filePath(QStringLiteral("job.pdf"));
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ASSERT_TRUE(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QFile::Permissions permissions = QFile::permissions(pdf);

    printer.SetOutputFileName(pdf);
    printer.SetTitle(QStringLiteral("Записка"));
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    printer.Canvas()->drawText(600, 600, QStringLiteral("страница"));
    printer.NewPage();
    EXPECT_EQ(Read(pdf), QByteArray("old"));
    EXPECT_THROW(printer.SetPrinterIndex(PdfIndex(printer)), EPrinter);
    printer.Abort();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(Read(pdf), QByteArray("old"));

    printer.BeginDoc();
    printer.Canvas()->drawText(600, 600, QStringLiteral("страница"));
    printer.EndDoc();
    EXPECT_TRUE(Read(pdf).startsWith("%PDF"));
    EXPECT_EQ(QFile::permissions(pdf), permissions);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(PdfPrinterTest, AFileThatCannotBeMadeStartsNoJob)
{
    for (const QString& target : {QString(), dir.filePath(QStringLiteral("no/such/folder.pdf")), dir.path()}) {
        printer.SetOutputFileName(target);
        EXPECT_THROW(printer.BeginDoc(), EInOutError) << target.toStdString();
        EXPECT_FALSE(printer.Printing());
    }
    EXPECT_THROW(printer.NewPage(), EPrinter);
    EXPECT_THROW(printer.EndDoc(), EPrinter);
}

TEST(PrinterList, ThePdfPrinterCanBeSwitchedOff)
{
    TestApp();
    qputenv("QUILLET_NO_PDF_PRINTER", "1");
    Printer printer;
    qunsetenv("QUILLET_NO_PDF_PRINTER");
    for (const PrinterEntry& entry : printer.Printers())
        EXPECT_FALSE(entry.pdf);
    if (printer.Printers().empty()) {
        EXPECT_EQ(printer.PrinterIndex(), -1);
        EXPECT_THROW(printer.LogPixelsX(), EPrinter);
        EXPECT_THROW(printer.BeginDoc(), EPrinter);
    }
    printer.Refresh();
    EXPECT_TRUE(printer.IsPdf() || QPrinterInfo::defaultPrinterName() == printer.Name());
}

TEST(PageMetafile, APageRoundTripsThroughItsFileAndPlaysAtAnyScale)
{
    TestApp();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("~t000000.prn"));
    const QSize page(4961, 7016);
    PageMetafile recorder;
    recorder.Begin(page);
    recorder.Canvas()->fillRect(QRect(0, 0, 2480, 3508), Qt::black);   // the top-left quarter
    recorder.Save(file);
    EXPECT_FALSE(recorder.Recording());
    EXPECT_THROW(recorder.Save(file), EInOutError);   // never over an existing file

    QPicture loaded;
    ASSERT_TRUE(LoadPage(file, loaded));
    for (const QSize size : {QSize(200, 283), QSize(496, 702)}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PlayPage(painter, loaded, page, QRectF(image.rect()));
        }
        EXPECT_EQ(qGray(image.pixel(size.width() / 4, size.height() / 4)), 0);
        EXPECT_EQ(qGray(image.pixel(size.width() * 3 / 4, size.height() / 4)), 255);
        EXPECT_EQ(qGray(image.pixel(size.width() / 4, size.height() * 3 / 4)), 255);
    }
    EXPECT_FALSE(LoadPage(dir.filePath(QStringLiteral("missing.prn")), loaded));
}

} // namespace
