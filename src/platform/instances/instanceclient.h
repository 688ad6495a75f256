// SPDX-License-Identifier: GPL-3.0-or-later
// Other copies as one copy sees them: the list of running copies and the
// requests one copy sends another (activate, close, copy-data).
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// A running copy. Its handle is its process id.
struct TInstance {
    qint64 handle = 0;
    std::uint32_t tag = 0;             // its main window's tag
    std::uint32_t applicationTag = 0;  // its application window's tag (view requests)
    QString caption;                   // its main window's caption, whole
};

// This process's handle.
qint64 OwnHandle();

// How long a listing waits for all copies together; a copy that has not
// answered by then (stopped, swapped out) is left out of this listing.
inline constexpr int ListTimeoutMs = 300;
// How long a posted request (activate, close, command) waits to be taken.
inline constexpr int PostTimeoutMs = 1000;

// Every copy of this user that answers, in ascending order of handle. An entry
// left behind by a copy that died is removed on the way.
std::vector<TInstance> ListInstances(int timeoutMs = ListTimeoutMs);

// Posted requests: true once the copy has taken the request into its queue; the
// copy carries it out when it is free. False when it cannot be reached.
bool ActivateInstance(qint64 handle, int timeoutMs = PostTimeoutMs);
bool CloseInstance(qint64 handle, int timeoutMs = PostTimeoutMs);
bool SendCommand(qint64 handle, const QString& command, int timeoutMs = PostTimeoutMs);

// A copy-data request: waits until the copy has handled it and answers its
// result (non-zero: taken). Nothing when the copy cannot be reached, refuses the
// record's size, or does not answer in time; the copy then drops the request
// unless it is already being carried out.
std::optional<std::uint32_t> SendCopyData(qint64 handle, std::uint32_t dwData, const QByteArray& record,
                                          int timeoutMs);

} // namespace platform
