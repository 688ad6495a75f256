// SPDX-License-Identifier: GPL-3.0-or-later
// The copy's listener: accepts only this user's connections, reads one bounded
// request from each and answers it or hands it on.
#include "instancelistener.h"

#include "localsocket.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QMutexLocker>
#include <QTimer>

namespace platform {

namespace {

// A peer that has not sent its whole request after this long is dropped, so that
// it cannot hold a connection forever.
constexpr int IdleLimitMs = 5000;
// More waiting connections than this and new ones are turned away.
constexpr int MaxConnections = 256;

} // namespace

void InstanceState::SetTag(std::uint32_t value)
{
    QMutexLocker lock(&mutex);
    description.tag = value;
}

void InstanceState::SetApplicationTag(std::uint32_t value)
{
    QMutexLocker lock(&mutex);
    description.applicationTag = value;
}

void InstanceState::SetCaption(const QString& value)
{
    const QByteArray caption = value.toUtf8();
    QMutexLocker lock(&mutex);
    description.caption = caption;
}

void InstanceState::SetTakesCommands(bool value)
{
    QMutexLocker lock(&mutex);
    takesCommands = value;
}

Description InstanceState::Describe() const
{
    QMutexLocker lock(&mutex);
    return description;
}

bool InstanceState::TakesCommands() const
{
    QMutexLocker lock(&mutex);
    return takesCommands;
}

void InstanceState::Await(quint64 connection)
{
    QMutexLocker lock(&mutex);
    awaited.insert(connection);
}

void InstanceState::Forget(quint64 connection)
{
    QMutexLocker lock(&mutex);
    awaited.remove(connection);
}

bool InstanceState::Awaited(quint64 connection) const
{
    QMutexLocker lock(&mutex);
    return awaited.contains(connection);
}

InstanceListener::InstanceListener(std::shared_ptr<InstanceState> sharedState,
                                   std::function<void(PendingRequest)> deliverRequest)
    : state(std::move(sharedState)), deliver(std::move(deliverRequest))
{
}

InstanceListener::~InstanceListener()
{
    Stop();
}

bool InstanceListener::Listen(const QString& path)
{
    Stop();
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Our own id's socket can only be a leftover of a process that had the id
    // before us and died without withdrawing.
    QLocalServer::removeServer(path);
    if (!server->listen(path)) {
        delete server;
        server = nullptr;
        return false;
    }
    connect(server, &QLocalServer::newConnection, this, &InstanceListener::Accept);
    return true;
}

void InstanceListener::Stop()
{
    for (auto it = connections.begin(); it != connections.end(); ++it) {
        state->Forget(it.key());
        it->socket->disconnect(this);
        it->socket->abort();
        it->socket->deleteLater();
    }
    connections.clear();
    if (server) {
        server->close();  // removes the socket file
        delete server;
        server = nullptr;
    }
}

void InstanceListener::Accept()
{
    while (server && server->hasPendingConnections()) {
        QLocalSocket* socket = server->nextPendingConnection();
        if (!PeerIsOwnUser(socket->socketDescriptor()) || connections.size() >= MaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const quint64 id = nextConnection++;
        connections.insert(id, Connection{socket, {}, false});
        connect(socket, &QLocalSocket::readyRead, this, [this, id] { Read(id); });
        connect(socket, &QLocalSocket::disconnected, this, [this, id] { Drop(id); });
        QTimer::singleShot(IdleLimitMs, this, [this, id] {
            const auto it = connections.constFind(id);
            if (it != connections.cend() && !it->answered)
                Drop(id);
        });
        Read(id);
    }
}

void InstanceListener::Read(quint64 id)
{
    auto it = connections.find(id);
    if (it == connections.end() || it->answered)
        return;
    // Never more than one frame's worth: the header bounds what may follow.
    it->received += it->socket->read(FrameHeaderSize + MaxPayload(RequestKind::CopyData) + 1
                                     - it->received.size());
    Frame frame;
    switch (DecodeRequest(it->received, frame)) {
    case FrameState::Invalid:
        Drop(id);
        return;
    case FrameState::Incomplete:
        return;
    case FrameState::Complete:
        it->answered = true;
        it->received.clear();
        Handle(id, frame);
        return;
    }
}

void InstanceListener::Handle(quint64 id, const Frame& frame)
{
    switch (frame.kind) {
    case RequestKind::Describe:
        Reply(id, frame.kind, EncodeDescription(state->Describe()));
        return;
    // A posted request is answered before it is handed on: a close may end the
    // process before this thread runs again.
    case RequestKind::Activate:
    case RequestKind::Close:
        Reply(id, frame.kind, EncodeResult(1));
        deliver({frame.kind, {}, 0});
        return;
    case RequestKind::Command:
        if (!state->TakesCommands()) {
            Reply(id, frame.kind, EncodeResult(0));
            return;
        }
        Reply(id, frame.kind, EncodeResult(1));
        deliver({frame.kind, frame.payload, 0});
        return;
    case RequestKind::CopyData:
        // The sender waits for the window's own answer, as for a sent message.
        state->Await(id);
        deliver({frame.kind, frame.payload, id});
        return;
    }
}

void InstanceListener::Answer(quint64 id, std::uint32_t result)
{
    Reply(id, RequestKind::CopyData, EncodeResult(result));
}

void InstanceListener::Abandon(quint64 id)
{
    Drop(id);
}

void InstanceListener::Reply(quint64 id, RequestKind kind, const QByteArray& payload)
{
    state->Forget(id);
    const auto it = connections.constFind(id);
    if (it == connections.cend())
        return;
    QLocalSocket* socket = it->socket;
    socket->write(EncodeAnswer(kind, payload));
    // Writing to a peer that has gone drops the connection on the spot.
    socket->flush();
    if (connections.contains(id))
        socket->disconnectFromServer();  // after the answer is written
}

void InstanceListener::Drop(quint64 id)
{
    state->Forget(id);
    const auto it = connections.find(id);
    if (it == connections.end())
        return;
    QLocalSocket* socket = it->socket;
    connections.erase(it);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

} // namespace platform
