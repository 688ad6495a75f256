// SPDX-License-Identifier: GPL-3.0-or-later
// Page decorations: the header and footer rows with their column formats and
// macros, and the border lines round the text area.
#include "qxprint.h"

#include "qlconsts.h"

#include <QDate>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QTime>

#include <cmath>

namespace {

enum ColumnAlignment { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };

// Insets and pen widths grow with the resolution in steps of 600 dots per inch,
// so that they look the same on every printer.
constexpr int DotsPerStep = 600;
constexpr int InsetPerStep = 6;
constexpr int PenPerStep = 2;
// The line height when the printer cannot be asked.
constexpr int FallbackLineHeight = 10;

constexpr double PointsPerInch = 72.0;

int PointsToPixels(int points, int dpi)
{
    return int(std::nearbyint(points * dpi / PointsPerInch));
}

QColor ToQColor(TColor color)
{
    const std::uint32_t rgb = ColorToRGB(color);
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

QString ShortDate()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

// The locale's long time without the time zone Qt adds to it.
QString LongTime()
{
    const QLocale locale = QLocale::system();
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return locale.toString(QTime::currentTime(), format.trimmed());
}

} // namespace

void TqxPrinter::SplitColumns(const QString& text, QStringList& list)
{
    list.clear();
    if (text.isEmpty()) {
        list << QString();
        return;
    }
    list = text.split(u'|');
}

void TqxPrinter::ParseColumnFormat(const QString& format, int& alignment, double& width) const
{
    const QString defaultWidth = QLocale::system().toString(FDefaultColumnWidth);
    QString f = format;
    if (f.isEmpty())
        f = QStringLiteral("<") + defaultWidth;
    if (f.size() == 1 && (f[0] == u'<' || f[0] == u'>' || f[0] == u'^'))
        f += defaultWidth;
    alignment = AlignLeft;
    if (f[0] == u'<' || f[0] == u'>' || f[0] == u'^') {
        alignment = f[0] == u'>' ? AlignRight : f[0] == u'^' ? AlignCentre : AlignLeft;
        f.remove(0, 1);
    }
    bool ok = false;
    width = QLocale::system().toDouble(f, &ok);
    // The formats the program writes itself use no grouping and a full stop.
    if (!ok)
        width = QLocale::c().toDouble(f, &ok);
    if (!ok)
        throw EConvertError(Tr(QlConsts::InvalidFloat).arg(f));
}

QString TqxPrinter::ReplaceTag(const QString& tag, const QString& value, const QString& text)
{
    // A value holding its own tag would be replaced for ever.
    if (value.contains(tag))
        return text;
    QString result = text;
    result.replace(tag, value);
    return result;
}

QString TqxPrinter::ExpandMacros(const QString& text) const
{
    QString t = ReplaceTag(QStringLiteral("{$LINE}"), QString::number(FLine), text);
    t = ReplaceTag(QStringLiteral("{$PAGE}"), QString::number(FPageNumber), t);
    t = ReplaceTag(QStringLiteral("{$DATE}"), ShortDate(), t);
    t = ReplaceTag(QStringLiteral("{$TIME}"), LongTime(), t);
    t = ReplaceTag(QStringLiteral("{$TITLE}"), Title(), t);
    return t;
}

int TqxPrinter::TextWidth(const QString& text) const
{
    return QFontMetrics(canvasFont).horizontalAdvance(text);
}

QString TqxPrinter::FitText(const QString& text, int width) const
{
    if (TextWidth(text) <= width)
        return text;
    // Bisection over the prefix length.
    int lo = 1;
    int hi = int(text.size());
    int mid = 0;
    int prev = 0;
    do {
        prev = mid;
        mid = (lo + hi) / 2;
        const int w = TextWidth(text.left(mid));
        if (w > width)
            hi = mid;
        else if (w == width)
            lo = hi;
        else
            lo = mid;
    } while (mid != prev && hi > lo);
    return text.left(std::max(mid, 1));
}

void TqxPrinter::AdjustFontToDevice()
{
    // The surface may be a recorded page whose own resolution is not the
    // printer's: a font sized in pixels comes out the same on both.
    QFont font(headerFooterFont.Name);
    font.setBold(headerFooterFont.Style.Contains(TFontStyle::fsBold));
    font.setItalic(headerFooterFont.Style.Contains(TFontStyle::fsItalic));
    font.setUnderline(headerFooterFont.Style.Contains(TFontStyle::fsUnderline));
    font.setStrikeOut(headerFooterFont.Style.Contains(TFontStyle::fsStrikeOut));
    font.setPixelSize(std::max(1, PointsToPixels(headerFooterFont.Size, DpiY())));
    canvasFont = font;
}

void TqxPrinter::UpdateLineMetrics()
{
    try {
        (void)printer.LogPixelsY();
    } catch (const platform::EPrinter&) {
        FLineHeight = FallbackLineHeight;
        return;
    }
    const QFontMetrics metrics(canvasFont);
    FLineHeight = metrics.height() + metrics.leading();
}

void TqxPrinter::DrawPageDecorations()
{
    const QString savedFormat = FCurrentFormat;
    try {
        if (!Header.isEmpty()) {
            SetFont_HeaderFooter(headerFooterFont);
            // Centred in the top margin; a margin lower than a row puts the row at
            // the top of the printable area, where it can still be read.
            FY = std::max(0, int(std::nearbyint((TopOffset() - FLineHeight) / 2.0))) - TopOffset();
            FCurrentFormat = HeaderFormat;
            if (!(FSkipFirstNumber && FPageNumber == 1))
                WriteRow(Header);
        }
        if (!Footer.isEmpty()) {
            SetFont_HeaderFooter(headerFooterFont);
            FY = TextAreaHeight() + (BottomOffset() - FLineHeight) / 2;
            FCurrentFormat = FooterFormat;
            if (!(FSkipFirstNumber && FPageNumber == 1))
                WriteRow(Footer);
        }
    } catch (...) {
        FCurrentFormat = savedFormat;
        throw;
    }
    FCurrentFormat = savedFormat;
    FX = 0;
    FY = 0;
    FLine = 0;
    DrawBorders();
}

void TqxPrinter::WriteRow(const QString& text)
{
    QStringList formats;
    QStringList texts;
    SplitColumns(FCurrentFormat, formats);
    SplitColumns(text, texts);
    FX = LeftOffset();
    const int inset = (DpiX() / DotsPerStep) * InsetPerStep;
    const QFontMetrics metrics(canvasFont);
    for (qsizetype i = 0; i < formats.size(); ++i) {
        int alignment = AlignLeft;
        double width = 0.0;
        ParseColumnFormat(formats[i], alignment, width);
        const int w = UnitsToPixelsX(width);
        QString t = i < texts.size() ? texts[i] : QString();
        if (t.contains(QStringLiteral("{$")))
            t = ExpandMacros(t);
        t = FitText(t, w);
        const int tw = TextWidth(t);
        int x = alignment == AlignRight ? w - tw : alignment == AlignCentre ? (w - tw) / 2 : 0;
        if (tw < w - inset) {
            if (alignment == AlignRight)
                x -= inset;
            else if (alignment == AlignLeft)
                x += inset;
        }
        if (FCanvas && !t.isEmpty()) {
            FCanvas->save();
            FCanvas->setFont(canvasFont);
            FCanvas->setPen(ToQColor(headerFooterFont.Color));
            // The row's top is its position, as text is placed on paper.
            FCanvas->drawText(QPoint(FX + x, TopOffset() + FY + metrics.ascent()), t);
            FCanvas->restore();
        }
        FX += w;
    }
}

void TqxPrinter::DrawBorders()
{
    if (!FCanvas || PageBorders.Empty())
        return;
    const int left = LeftOffset();
    const int top = TopOffset();
    const int right = left + TextAreaWidth();
    const int bottom = top + TextAreaHeight();
    FCanvas->save();
    QPen pen(Qt::black);
    // A width of 0 is the thinnest line the device draws.
    pen.setWidth((DpiY() / DotsPerStep) * PenPerStep);
    FCanvas->setPen(pen);
    int d = UnitsToPixelsY(BorderOffset);
    if (PageBorders.Contains(TPageBorder::pbTop))
        FCanvas->drawLine(left - d, top - d, right + d, top - d);
    if (PageBorders.Contains(TPageBorder::pbBottom))
        FCanvas->drawLine(left - d, bottom + d, right + d, bottom + d);
    pen.setWidth((DpiX() / DotsPerStep) * PenPerStep);
    FCanvas->setPen(pen);
    d = UnitsToPixelsX(BorderOffset);
    if (PageBorders.Contains(TPageBorder::pbLeft))
        FCanvas->drawLine(left - d, top - d, left - d, bottom + d);
    if (PageBorders.Contains(TPageBorder::pbRight))
        FCanvas->drawLine(right + d, top - d, right + d, bottom + d);
    FCanvas->restore();
}
