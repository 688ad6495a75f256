// The line-end filter over a private temporary file in the target's folder.
#include "linefilter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr qint64 BlockSize = 512;

} // namespace

bool FilterLineEnds(const QString& fileName, char16_t drop, FilterUnit unit)
{
    if (!QFileInfo(fileName).isFile())
        return false;
    QFile source(fileName);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    // The temporary file is our own, in the target's folder, and renamed over the
    // target only once complete, so a failure never costs the exported text and
    // no other copy's temporary files are touched.
    QSaveFile target(fileName);
    target.setDirectWriteFallback(false);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    const qsizetype width = unit == FilterUnit::Byte ? 1 : 2;
    QByteArray carry;  // an odd byte left from the previous block
    QByteArray kept;
    for (;;) {
        QByteArray block = source.read(BlockSize);
        if (block.isEmpty())
            break;
        block.prepend(carry);
        const qsizetype whole = block.size() - block.size() % width;
        carry = block.mid(whole);
        kept.clear();
        for (qsizetype i = 0; i < whole; i += width) {
            const auto b0 = static_cast<std::uint8_t>(block[i]);
            char16_t ch = b0;
            if (unit == FilterUnit::Utf16Little)
                ch = static_cast<char16_t>(b0 | static_cast<std::uint8_t>(block[i + 1]) << 8);
            else if (unit == FilterUnit::Utf16Big)
                ch = static_cast<char16_t>(b0 << 8 | static_cast<std::uint8_t>(block[i + 1]));
            if (ch != drop)
                kept.append(block.constData() + i, width);
        }
        if (target.write(kept) != kept.size()) {
            target.cancelWriting();
            return false;
        }
    }
    if (source.error() != QFileDevice::NoError || target.write(carry) != carry.size()) {
        target.cancelWriting();
        return false;
    }
    return target.commit();
}
