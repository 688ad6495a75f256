// SPDX-License-Identifier: GPL-3.0-or-later
// Framing of the copies' requests and answers.
#include "instanceprotocol.h"

#include <algorithm>
#include <ctime>

namespace platform {

namespace {

constexpr char RequestMagic[4] = {'Q', 'L', 'I', '1'};
constexpr char AnswerMagic[4] = {'Q', 'L', 'A', '1'};

// A caption is a window title: a path and a prefix; anything longer is not one.
constexpr std::uint32_t MaxCaption = 16 * 1024;
// dwData, the deadline and a record; the view request needs 524 bytes, other
// records are small.
constexpr std::uint32_t CopyDataHeader = 4 + 8;
constexpr std::uint32_t MaxCopyData = CopyDataHeader + 64 * 1024;
constexpr std::uint32_t MaxCommand = 4 * 1024;

bool KnownKind(std::uint8_t value)
{
    return value >= std::uint8_t(RequestKind::Describe) && value <= std::uint8_t(RequestKind::Command);
}

QByteArray Encode(const char (&magic)[4], RequestKind kind, const QByteArray& payload)
{
    QByteArray out;
    out.reserve(FrameHeaderSize + payload.size());
    out.append(magic, 4);
    out.append(char(kind));
    out.append(3, '\0');
    AppendLittle32(out, std::uint32_t(payload.size()));
    out.append(payload);
    return out;
}

FrameState Decode(const char (&magic)[4], const QByteArray& received, Frame& frame, bool answer)
{
    // Judge the header as soon as its bytes are there, so that a stranger is
    // dropped before it can make us wait for a payload it announced.
    const qsizetype known = std::min<qsizetype>(received.size(), FrameHeaderSize);
    for (qsizetype i = 0; i < std::min<qsizetype>(known, 4); ++i)
        if (received[i] != magic[i])
            return FrameState::Invalid;
    if (known > 4 && !KnownKind(std::uint8_t(received[4])))
        return FrameState::Invalid;
    for (qsizetype i = 5; i < std::min<qsizetype>(known, 8); ++i)
        if (received[i] != 0)
            return FrameState::Invalid;
    if (known < FrameHeaderSize)
        return FrameState::Incomplete;
    const auto kind = RequestKind(std::uint8_t(received[4]));
    const std::uint32_t length = ReadLittle32(received.constData() + 8);
    const std::uint32_t bound = answer ? std::max(MaxPayload(kind), MaxCaption + 12) : MaxPayload(kind);
    if (length > bound)
        return FrameState::Invalid;
    const qsizetype total = FrameHeaderSize + qsizetype(length);
    if (received.size() < total)
        return FrameState::Incomplete;
    if (received.size() > total)
        return FrameState::Invalid;
    frame.kind = kind;
    frame.payload = received.mid(FrameHeaderSize);
    return FrameState::Complete;
}

} // namespace

std::uint32_t ReadLittle32(const char* bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void AppendLittle32(QByteArray& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

std::uint32_t MaxPayload(RequestKind kind)
{
    switch (kind) {
    case RequestKind::CopyData: return MaxCopyData;
    case RequestKind::Command: return MaxCommand;
    case RequestKind::Describe:
    case RequestKind::Activate:
    case RequestKind::Close: return 0;
    }
    return 0;
}

QByteArray EncodeRequest(RequestKind kind, const QByteArray& payload)
{
    return Encode(RequestMagic, kind, payload);
}

QByteArray EncodeAnswer(RequestKind kind, const QByteArray& payload)
{
    return Encode(AnswerMagic, kind, payload);
}

FrameState DecodeRequest(const QByteArray& received, Frame& frame)
{
    return Decode(RequestMagic, received, frame, false);
}

FrameState DecodeAnswer(const QByteArray& received, Frame& frame)
{
    return Decode(AnswerMagic, received, frame, true);
}

QByteArray EncodeDescription(const Description& description)
{
    QByteArray out;
    AppendLittle32(out, description.tag);
    AppendLittle32(out, description.applicationTag);
    out.append(description.caption.left(MaxCaption));
    return out;
}

std::optional<Description> DecodeDescription(const QByteArray& payload)
{
    if (payload.size() < 8 || payload.size() > qsizetype(8 + MaxCaption))
        return std::nullopt;
    Description d;
    d.tag = ReadLittle32(payload.constData());
    d.applicationTag = ReadLittle32(payload.constData() + 4);
    d.caption = payload.mid(8);
    return d;
}

QByteArray EncodeResult(std::uint32_t result)
{
    QByteArray out;
    AppendLittle32(out, result);
    return out;
}

std::optional<std::uint32_t> DecodeResult(const QByteArray& payload)
{
    if (payload.size() != 4)
        return std::nullopt;
    return ReadLittle32(payload.constData());
}

qint64 MonotonicNowNs()
{
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

QByteArray EncodeCopyData(const CopyData& data)
{
    QByteArray out;
    AppendLittle32(out, data.dwData);
    AppendLittle32(out, std::uint32_t(quint64(data.deadlineNs) & 0xFFFFFFFFu));
    AppendLittle32(out, std::uint32_t(quint64(data.deadlineNs) >> 32));
    out.append(data.record);
    return out;
}

std::optional<CopyData> DecodeCopyData(const QByteArray& payload)
{
    if (payload.size() < qsizetype(CopyDataHeader))
        return std::nullopt;
    CopyData data;
    data.dwData = ReadLittle32(payload.constData());
    data.deadlineNs = qint64(quint64(ReadLittle32(payload.constData() + 4))
                             | quint64(ReadLittle32(payload.constData() + 8)) << 32);
    data.record = payload.mid(CopyDataHeader);
    return data;
}

} // namespace platform
