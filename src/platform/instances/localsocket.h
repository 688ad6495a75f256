// SPDX-License-Identifier: GPL-3.0-or-later
// Local sockets: who is at the other end, as the kernel says, and writes to a
// peer that has gone away.
#pragma once

#include <QtGlobal>

#include <optional>

namespace platform {

struct PeerCredentials {
    qint64 pid = 0;
    qint64 uid = -1;
};

// The process and user of the peer of a connected local socket; nothing when the
// kernel does not tell.
std::optional<PeerCredentials> PeerOf(qintptr socketDescriptor);

// Whether the peer runs as this process's user: copies serve no one else.
bool PeerIsOwnUser(qintptr socketDescriptor);

// A write to a peer that has hung up must fail, not end the process: a copy
// that answers a listing too late, or asks a copy that has just died, lives on.
// Sets SIGPIPE to be ignored unless the program has its own handler for it.
void IgnoreBrokenPipes();

} // namespace platform
