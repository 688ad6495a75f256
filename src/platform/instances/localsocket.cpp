// SPDX-License-Identifier: GPL-3.0-or-later
// Peer credentials of local sockets (SO_PEERCRED) and broken pipes.
#include "localsocket.h"

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace platform {

std::optional<PeerCredentials> PeerOf(qintptr socketDescriptor)
{
    struct ucred credentials {};
    socklen_t length = sizeof credentials;
    if (socketDescriptor < 0
        || ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0
        || length != sizeof credentials)
        return std::nullopt;
    return PeerCredentials{credentials.pid, credentials.uid};
}

bool PeerIsOwnUser(qintptr socketDescriptor)
{
    const std::optional<PeerCredentials> peer = PeerOf(socketDescriptor);
    return peer && peer->uid == qint64(::getuid());
}

void IgnoreBrokenPipes()
{
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        ::signal(SIGPIPE, SIG_IGN);
}

} // namespace platform
