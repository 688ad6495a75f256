// SPDX-License-Identifier: GPL-3.0-or-later
// The view request another program sends a waiting copy to show a file, and the
// tags by which copies and waiting copies are known.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

// Every main window carries this tag; the Window menu lists the copies by it.
inline constexpr std::uint32_t INSTANCE_TAG = 0x014FE030;
// A copy started with "|?" carries this tag, and a view request carries it as
// its dwData.
inline constexpr std::uint32_t VIEW_REQUEST_TAG = 0x0112FE3F;

// The request's record: 524 bytes, little-endian. Other programs write it, so
// its layout is fixed byte for byte.
struct TViewRequest {
    QByteArray FileName;        // the two name parts joined: the name's own bytes
    bool KeepName = false;      // false: the text is shown unnamed once loaded
    std::uint8_t Encoding = 1;  // a TEnc ordinal, as sent (not checked here)
    bool BigEndian = false;
    std::uint32_t CaretPos = 0;
    std::uint32_t SelLength = 0;
};

inline constexpr int ViewRequestSize = 524;
inline constexpr int ViewRequestNamePart = 256;
// The longest name a record can carry: each part keeps its terminating zero.
inline constexpr int ViewRequestMaxName = 2 * (ViewRequestNamePart - 1);

// Nothing when the record is not exactly 524 bytes or a name part has no
// terminating zero inside its 256 bytes: such a record is not read any further.
std::optional<TViewRequest> ParseViewRequest(const QByteArray& record);

// The record for a request; nothing when the name is empty, holds a zero byte or
// is longer than ViewRequestMaxName.
std::optional<QByteArray> BuildViewRequest(const TViewRequest& request);
