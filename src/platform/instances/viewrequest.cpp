// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the 524-byte view-request record.
#include "viewrequest.h"

#include "instanceprotocol.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int KeepNameAt = 512;
constexpr int EncodingAt = 513;
constexpr int ByteOrderAt = 514;
constexpr int CaretAt = 516;
constexpr int SelectionAt = 520;
static_assert(SelectionAt + 4 == ViewRequestSize);

// The text of a zero-terminated part, or nothing when its terminator is missing.
std::optional<QByteArray> NamePart(const QByteArray& record, int at)
{
    const void* zero = std::memchr(record.constData() + at, 0, ViewRequestNamePart);
    if (!zero)
        return std::nullopt;
    return QByteArray(record.constData() + at, static_cast<const char*>(zero) - (record.constData() + at));
}

} // namespace

std::optional<TViewRequest> ParseViewRequest(const QByteArray& record)
{
    if (record.size() != ViewRequestSize)
        return std::nullopt;
    const std::optional<QByteArray> first = NamePart(record, 0);
    const std::optional<QByteArray> second = NamePart(record, ViewRequestNamePart);
    if (!first || !second)
        return std::nullopt;
    TViewRequest request;
    request.FileName = *first + *second;
    request.KeepName = record[KeepNameAt] != 0;
    request.Encoding = static_cast<std::uint8_t>(record[EncodingAt]);
    request.BigEndian = record[ByteOrderAt] != 0;
    request.CaretPos = platform::ReadLittle32(record.constData() + CaretAt);
    request.SelLength = platform::ReadLittle32(record.constData() + SelectionAt);
    return request;
}

std::optional<QByteArray> BuildViewRequest(const TViewRequest& request)
{
    const QByteArray& name = request.FileName;
    if (name.isEmpty() || name.size() > ViewRequestMaxName || name.contains('\0'))
        return std::nullopt;
    QByteArray record(ViewRequestSize, '\0');
    const qsizetype firstLength = std::min<qsizetype>(name.size(), ViewRequestNamePart - 1);
    std::memcpy(record.data(), name.constData(), firstLength);
    std::memcpy(record.data() + ViewRequestNamePart, name.constData() + firstLength, name.size() - firstLength);
    record[KeepNameAt] = request.KeepName ? 1 : 0;
    record[EncodingAt] = char(request.Encoding);
    record[ByteOrderAt] = request.BigEndian ? 1 : 0;
    record.truncate(CaretAt);
    platform::AppendLittle32(record, request.CaretPos);
    platform::AppendLittle32(record, request.SelLength);
    return record;
}
