// SPDX-License-Identifier: GPL-3.0-or-later
// Printed PDF files read back with poppler's tools: pages, text, words with
// their boxes, and pages rendered as images.
#include "testsupport_pdf.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

QByteArray RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

int PdfPageCount(const QString& file)
{
    const QString info = QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {file}));
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString PdfText(const QString& file, int page)
{
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    args << file << QStringLiteral("-");
    return QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), args));
}

std::vector<PdfWord> PdfWords(const QString& file)
{
    const QString html = QString::fromUtf8(
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                              file, QStringLiteral("-")}));
    std::vector<PdfWord> words;
    static const QRegularExpression pageTag(QStringLiteral("<page "));
    static const QRegularExpression wordTag(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    int page = 0;
    qsizetype pos = 0;
    while (pos < html.size()) {
        const QRegularExpressionMatch nextPage = pageTag.match(html, pos);
        const QRegularExpressionMatch nextWord = wordTag.match(html, pos);
        if (!nextWord.hasMatch())
            break;
        if (nextPage.hasMatch() && nextPage.capturedStart() < nextWord.capturedStart()) {
            ++page;
            pos = nextPage.capturedEnd();
            continue;
        }
        PdfWord word;
        word.page = page;
        word.text = nextWord.captured(5).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        const double x0 = nextWord.captured(1).toDouble();
        const double y0 = nextWord.captured(2).toDouble();
        word.box = QRectF(x0, y0, nextWord.captured(3).toDouble() - x0, nextWord.captured(4).toDouble() - y0);
        words.push_back(word);
        pos = nextWord.capturedEnd();
    }
    return words;
}

std::vector<PdfPage> PdfPages(const QString& file)
{
    const QString html = QString::fromUtf8(
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")}));
    std::vector<PdfPage> pages;
    static const QRegularExpression pageTag(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    for (auto it = pageTag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        pages.push_back({m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return pages;
}

QImage PdfPageImage(const QString& file, int page, int dpi)
{
    QTemporaryDir out;
    const QString prefix = out.filePath(QStringLiteral("page"));
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                         QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                         QString::number(page), QStringLiteral("-singlefile"), file, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}
