// SPDX-License-Identifier: GPL-3.0-or-later
// Laying out one paragraph, and guessing its height when it is not laid out.
#include "blockflow.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Wider than any text a view can show: the width of a line that does not wrap.
constexpr double UnboundedWidth = 8.0e6;

// The space a block's lines may take, from its left edge.
struct Frame {
    double left = 0;
    double width = 0;
};

// The paragraph's indent in steps of the document's indent width: its own and,
// in a list, the list's, which makes room for the marker before the text.
double Indent(const QTextBlock& block, const QTextBlockFormat& format)
{
    int steps = format.indent();
    if (const QTextList* list = block.textList())
        steps += list->format().indent();
    return steps * block.document()->indentWidth();
}

// The width only: the indent takes the same room on either side, so the text's
// direction, which Qt finds by reading the block's characters, is not needed.
double FrameWidth(const QTextBlock& block, const QTextBlockFormat& format, const FlowSettings& settings)
{
    const double used = 2 * settings.margin + format.leftMargin() + format.rightMargin() + Indent(block, format);
    return settings.pageWidth > 0 ? std::max(1.0, settings.pageWidth - used) : UnboundedWidth;
}

Frame TextFrame(const QTextBlock& block, const QTextBlockFormat& format, const FlowSettings& settings)
{
    const double indent = Indent(block, format);
    const bool leftToRight = block.textDirection() != Qt::RightToLeft;
    Frame frame;
    frame.left = settings.margin + format.leftMargin() + (leftToRight ? indent : 0);
    frame.width = FrameWidth(block, format, settings);
    return frame;
}

// Left and right name the paragraph's start and end unless they are absolute: a
// right-to-left paragraph with the default alignment stands at the right.
Qt::Alignment VisualAlignment(const QTextBlockFormat& format, Qt::Alignment fallback, Qt::LayoutDirection direction)
{
    Qt::Alignment align = format.hasProperty(QTextFormat::BlockAlignment) ? format.alignment() : fallback;
    if (!(align & Qt::AlignHorizontal_Mask))
        align |= Qt::AlignLeft;
    if (!(align & Qt::AlignAbsolute) && (align & (Qt::AlignLeft | Qt::AlignRight))) {
        if (direction == Qt::RightToLeft)
            align ^= (Qt::AlignLeft | Qt::AlignRight);
        align |= Qt::AlignAbsolute;
    }
    return align;
}

BlockFlow FlowInto(QTextLayout* layout, const QTextBlock& block, const FlowSettings& settings, bool first = true,
                   bool last = true)
{
    BlockFlow flow;
    if (!block.isVisible()) {
        layout->clearLayout();
        return flow;
    }
    const QTextBlockFormat format = block.blockFormat();
    QTextOption option = block.document()->defaultTextOption();
    const Qt::LayoutDirection direction = block.textDirection();
    option.setTextDirection(direction);
    option.setTabs(format.tabPositions());
    option.setAlignment(VisualAlignment(format, option.alignment(), direction));
    if (!settings.wrap || format.nonBreakableLines())
        option.setWrapMode(QTextOption::NoWrap);
    layout->setTextOption(option);

    const Frame frame = TextFrame(block, format, settings);
    const bool leftToRight = block.textDirection() != Qt::RightToLeft;
    double y = first ? format.topMargin() : 0;
    layout->beginLayout();
    for (;;) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        const double indent = first && flow.lines == 0 ? format.textIndent() : 0;
        line.setLineWidth(std::max(1.0, frame.width - indent));
        line.setPosition(QPointF(frame.left + (leftToRight ? indent : 0), y));
        y += format.lineHeight(line.height(), 1.0);
        flow.naturalWidth = std::max(flow.naturalWidth, line.x() + line.naturalTextWidth());
        ++flow.lines;
    }
    layout->endLayout();
    flow.height = y + (last ? format.bottomMargin() : 0);
    return flow;
}

} // namespace

BlockFlow LayOutBlock(const QTextBlock& block, const FlowSettings& settings)
{
    return FlowInto(block.layout(), block, settings);
}

std::unique_ptr<QTextLayout> LayOutCopy(const QTextBlock& block, const FlowSettings& settings, BlockFlow& flow)
{
    const QString text = block.text();
    // Objects take their size from the document's layout, which only the
    // block's own layout asks.
    if (text.contains(QChar::ObjectReplacementCharacter))
        return nullptr;
    auto layout = std::make_unique<QTextLayout>(text, block.document()->defaultFont());
    layout->setFormats(block.textFormats());
    flow = FlowInto(layout.get(), block, settings);
    return layout;
}

std::optional<BlockFlow> MeasureBlock(const QTextBlock& block, const FlowSettings& settings)
{
    BlockFlow flow;
    if (!LayOutCopy(block, settings, flow))
        return std::nullopt;
    return flow;
}

BlockFlow LayOutPiece(QTextLayout* layout, const QTextBlock& block, const FlowSettings& settings, bool first, bool last)
{
    return FlowInto(layout, block, settings, first, last);
}

void BlockEstimator::Reset(const QTextDocument* document)
{
    doc = document;
    byFormat.clear();
    advancesByFormat.clear();
    defaultFont = document->defaultFont();
    // When every character format has the same font (plain text, also with
    // links), every block has the same metrics: finding a block's format costs
    // two walks of the document's trees, and there may be a million blocks.
    uniform.reset();
    std::optional<QFont> shared;
    const QList<QTextFormat> formats = document->allFormats();
    uniformFormats = formats.size();
    for (const QTextFormat& format : formats) {
        if (!format.isCharFormat())
            continue;
        // Lines drawn over or under the text (a link's) change no metrics.
        QFont font = format.toCharFormat().font().resolve(defaultFont);
        font.setUnderline(false);
        font.setOverline(false);
        font.setStrikeOut(false);
        if (shared && font != *shared)
            return;
        shared = font;
    }
    uniform = MetricsOf(shared.value_or(defaultFont));
}

const BlockEstimator::Metrics& BlockEstimator::MetricsFor(const QTextBlock& block)
{
    // Formats added since (an edit) may bring other fonts.
    if (uniform && doc->allFormats().size() == uniformFormats)
        return *uniform;
    const int key = block.charFormatIndex();
    auto it = byFormat.find(key);
    if (it != byFormat.end())
        return *it;
    // A paragraph's first characters usually carry the font of the rest.
    QTextCharFormat format = block.charFormat();
    const QTextBlock::iterator first = block.begin();
    if (!first.atEnd())
        format = first.fragment().charFormat();
    return *byFormat.insert(key, MetricsOf(format.font().resolve(defaultFont)));
}

BlockEstimator::Metrics BlockEstimator::MetricsOf(const QFont& font)
{
    const QFontMetricsF metrics(font);
    // Ordinary prose, Russian and Latin, with its spaces.
    static const QString sample = QStringLiteral(u"Съешь же ещё этих мягких французских булок, да выпей чаю. Pack my box.");
    Metrics m;
    m.lineSpacing = std::ceil(metrics.height() + std::max<qreal>(0, metrics.leading()));
    m.averageAdvance = metrics.horizontalAdvance(sample) / sample.size();
    return m;
}

double BlockEstimator::ByLength::operator()(int chars) const
{
    int lines = 1;
    if (width > 0) {
        // Words do not fill a line to its end: a little more than the bare ratio.
        const double text = chars * advance * 1.04 + indent;
        lines = std::max(1, int(std::ceil(text / width)));
    }
    return margins + lines * lineHeight + bottom;
}

BlockEstimator::ByLength BlockEstimator::Heights(const QTextBlockFormat& format, const Metrics& m,
                                                 const FlowSettings& settings) const
{
    ByLength by;
    by.margins = format.topMargin();
    by.bottom = format.bottomMargin();
    by.lineHeight = format.lineHeight(m.lineSpacing, 1.0);
    by.advance = m.averageAdvance;
    by.indent = format.textIndent();
    const double used = 2 * settings.margin + format.leftMargin() + format.rightMargin()
                        + format.indent() * doc->indentWidth();
    if (settings.wrap && settings.pageWidth > 0 && !format.nonBreakableLines())
        by.width = std::max(1.0, settings.pageWidth - used);
    return by;
}

std::optional<BlockEstimator::ByLength> BlockEstimator::EstimateByLength(const QTextBlockFormat& format,
                                                                         const FlowSettings& settings)
{
    if (!uniform || doc->allFormats().size() != uniformFormats)
        return std::nullopt;
    return Heights(format, *uniform, settings);
}

double BlockEstimator::Estimate(const QTextBlock& block, const FlowSettings& settings)
{
    if (!block.isVisible())
        return 0;
    return Heights(block.blockFormat(), MetricsFor(block), settings)(block.length() - 1);
}

double BlockEstimator::EstimatePiece(const QTextBlock& block, int chars, const FlowSettings& settings)
{
    const QTextBlockFormat format = block.blockFormat();
    const Metrics& m = MetricsFor(block);
    int lines = 1;
    const double width = TextFrame(block, format, settings).width;
    if (settings.wrap && width < UnboundedWidth && !format.nonBreakableLines())
        lines = std::max(1, int(std::ceil(chars * m.averageAdvance * 1.04 / width)));
    return lines * format.lineHeight(m.lineSpacing, 1.0);
}

double BlockEstimator::Advances::Of(char16_t c)
{
    if (c < table.size()) {
        float& advance = table[c];
        if (advance < 0)
            advance = float(metrics.horizontalAdvance(QChar(c)));
        return advance;
    }
    auto it = others.find(c);
    if (it == others.end())
        it = others.insert(c, float(metrics.horizontalAdvance(QChar(c))));
    return *it;
}

bool BlockEstimator::SurelyOneLine(const QTextBlock& block, const FlowSettings& settings)
{
    if (!block.isVisible())
        return false;
    // One run of one plain font: spacing, objects and mixed fonts are left to the layout.
    const QTextBlock::iterator first = block.begin();
    if (first.atEnd())
        return true;
    QTextBlock::iterator second = first;
    ++second;
    if (!second.atEnd())
        return false;
    const QTextCharFormat format = first.fragment().charFormat();
    if (format.isImageFormat() || format.objectType() != QTextFormat::NoObject
        || format.hasProperty(QTextFormat::FontLetterSpacing) || format.hasProperty(QTextFormat::FontWordSpacing)
        || format.hasProperty(QTextFormat::FontStretch) || format.hasProperty(QTextFormat::FontCapitalization))
        return false;
    const QTextBlockFormat blockFormat = block.blockFormat();
    const double width = TextFrame(block, blockFormat, settings).width - blockFormat.textIndent();
    // A line that fits into the width holds the whole paragraph. The sum of single
    // advances leaves out kerning and the last glyph's overhang: keep a margin.
    const int key = first.fragment().charFormatIndex();
    auto it = advancesByFormat.find(key);
    if (it == advancesByFormat.end())
        it = advancesByFormat.insert(key, std::make_shared<Advances>(format.font().resolve(defaultFont)));
    Advances& advances = **it;
    const double slack = 2 * advances.metrics.height();
    const double limit = (width - slack) / 1.03;
    if (limit <= 0)
        return false;
    const QString text = block.text();
    double sum = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        // Tabs stop at positions, separators break lines, pairs need shaping.
        if (u == u'\t' || u == QChar::LineSeparator || u == QChar::ObjectReplacementCharacter || c.isSurrogate())
            return false;
        sum += advances.Of(u);
        if (sum > limit)
            return false;
    }
    return true;
}

} // namespace platform
