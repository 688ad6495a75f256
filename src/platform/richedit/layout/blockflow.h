// SPDX-License-Identifier: GPL-3.0-or-later
// One paragraph of the viewport-first layout: its lines laid out for a width,
// or its height estimated from its length without laying it out.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>

#include <memory>
#include <optional>
#include <vector>

class QTextBlock;
class QTextBlockFormat;
class QTextDocument;
class QTextLayout;

namespace platform {

// The geometry of one block: lines sit in the block's QTextLayout relative to the
// block's top-left corner, which the document layout sets as the QTextLayout's
// position whenever it hands the block out.
struct BlockFlow {
    double height = 0;        // top margin, lines and bottom margin
    double naturalWidth = 0;  // widest line with its left edge, for a view that does not wrap
    int lines = 0;
};

struct FlowSettings {
    double pageWidth = 0;     // the document's text width; 0 or less: no wrap
    double margin = 0;        // the document margin on each side
    bool wrap = true;
};

// Lays the block out into its own QTextLayout.
BlockFlow LayOutBlock(const QTextBlock& block, const FlowSettings& settings);
// The same lines found in a layout of its own, which is thrown away: Qt keeps a
// block's QTextLayout for as long as the block lives once it is asked for.
// Nothing for a block holding objects.
std::optional<BlockFlow> MeasureBlock(const QTextBlock& block, const FlowSettings& settings);
// The same lines in a layout of its own that is kept, to draw the block from;
// null for a block holding objects.
std::unique_ptr<QTextLayout> LayOutCopy(const QTextBlock& block, const FlowSettings& settings, BlockFlow& flow);

// Lays out a piece of a long block into a layout holding the piece's text: the
// block's top margin and first-line indent belong to the first piece, its bottom
// margin to the last.
BlockFlow LayOutPiece(QTextLayout* layout, const QTextBlock& block, const FlowSettings& settings, bool first, bool last);

// Guesses a block's height from its characters and its font, at least one line,
// without touching its layout. Metrics are kept per character format.
class BlockEstimator {
public:
    // The estimated height of a visible block from its number of characters, for
    // one block format and one font.
    struct ByLength {
        double margins = 0;        // top, then bottom
        double bottom = 0;
        double lineHeight = 0;
        double advance = 0;
        double indent = 0;
        double width = 0;          // 0: the block takes one line
        double operator()(int chars) const;
    };

    void Reset(const QTextDocument* doc);
    double Estimate(const QTextBlock& block, const FlowSettings& settings);
    // The same for every visible block in that format, when the whole text has one font.
    std::optional<ByLength> EstimateByLength(const QTextBlockFormat& format, const FlowSettings& settings);
    // The height of that many of the block's characters, lines only.
    double EstimatePiece(const QTextBlock& block, int chars, const FlowSettings& settings);
    // True when the block is certain to take exactly one line, found from the
    // advances of its characters without laying it out; false when in doubt.
    bool SurelyOneLine(const QTextBlock& block, const FlowSettings& settings);

private:
    // Advances of single characters in one font, looked up as they are met.
    struct Advances {
        explicit Advances(const QFont& font) : metrics(font) {}
        QFontMetricsF metrics;
        std::vector<float> table = std::vector<float>(0x500, -1.0f);
        QHash<char16_t, float> others;
        double Of(char16_t c);
    };
    struct Metrics {
        double lineSpacing = 0;
        double averageAdvance = 0;
    };
    const Metrics& MetricsFor(const QTextBlock& block);
    ByLength Heights(const QTextBlockFormat& format, const Metrics& m, const FlowSettings& settings) const;
    static Metrics MetricsOf(const QFont& font);
    std::optional<Metrics> uniform;       // every block's, when all have one font
    qsizetype uniformFormats = 0;         // the formats the document had then
    QHash<int, Metrics> byFormat;
    QHash<int, std::shared_ptr<Advances>> advancesByFormat;
    const QTextDocument* doc = nullptr;
    QFont defaultFont;
};

} // namespace platform
