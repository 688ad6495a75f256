// SPDX-License-Identifier: GPL-3.0-or-later
// What copies say to each other over their sockets: one request and one answer
// per connection, each a small header and a bounded payload.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace platform {

enum class RequestKind : std::uint8_t {
    Describe = 1,  // answer: tag, application tag, caption
    Activate = 2,  // come to the foreground
    Close = 3,     // close as the user would, asking the copy's own save question
    CopyData = 4,  // dwData, the sender's deadline and a record; answer: the copy's result
    Command = 5,   // a test's scripted action; refused unless the copy runs a test script
};

// The header: 4 bytes of magic, the kind, 3 zero bytes, the payload length
// (32 bits, little-endian).
inline constexpr int FrameHeaderSize = 12;

// The largest payload each kind may carry; a longer frame is refused unread.
std::uint32_t MaxPayload(RequestKind kind);

QByteArray EncodeRequest(RequestKind kind, const QByteArray& payload);
QByteArray EncodeAnswer(RequestKind kind, const QByteArray& payload);

// Reads one frame from the bytes received so far.
struct Frame {
    RequestKind kind = RequestKind::Describe;
    QByteArray payload;
};
enum class FrameState { Incomplete, Complete, Invalid };
// Complete fills frame; Invalid means the sender is not speaking our protocol
// (wrong magic, unknown kind, a length over the kind's bound, bytes after the frame).
FrameState DecodeRequest(const QByteArray& received, Frame& frame);
FrameState DecodeAnswer(const QByteArray& received, Frame& frame);

// The answer to a description request.
struct Description {
    std::uint32_t tag = 0;
    std::uint32_t applicationTag = 0;
    QByteArray caption;  // UTF-8
};
QByteArray EncodeDescription(const Description& description);
std::optional<Description> DecodeDescription(const QByteArray& payload);

// A 32-bit result, the answer of every other request.
QByteArray EncodeResult(std::uint32_t result);
std::optional<std::uint32_t> DecodeResult(const QByteArray& payload);

// The machine's monotonic clock in nanoseconds: every process reads the same
// one, and no one can set it, so one copy's deadline means the same to another.
qint64 MonotonicNowNs();

// A copy-data payload: dwData, the moment (MonotonicNowNs) after which the sender
// no longer waits for the answer, then the record.
struct CopyData {
    std::uint32_t dwData = 0;
    qint64 deadlineNs = 0;
    QByteArray record;
};
QByteArray EncodeCopyData(const CopyData& data);
std::optional<CopyData> DecodeCopyData(const QByteArray& payload);

std::uint32_t ReadLittle32(const char* bytes);
void AppendLittle32(QByteArray& out, std::uint32_t value);

} // namespace platform
