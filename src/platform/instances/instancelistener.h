// SPDX-License-Identifier: GPL-3.0-or-later
// The listening end of a copy, on a thread of its own: it answers descriptions at
// once, even while the window's thread is busy loading a file, and hands every
// other request to the window's thread.
#pragma once

#include "instanceprotocol.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace platform {

// What a description answers; the window's thread writes it, the listener reads it.
class InstanceState {
public:
    void SetTag(std::uint32_t value);
    void SetApplicationTag(std::uint32_t value);
    void SetCaption(const QString& value);
    void SetTakesCommands(bool value);
    Description Describe() const;
    bool TakesCommands() const;

    // The copy-data connections whose senders still wait for an answer: the
    // listener adds them as they come and removes them once answered or gone.
    void Await(quint64 connection);
    void Forget(quint64 connection);
    bool Awaited(quint64 connection) const;

private:
    mutable QMutex mutex;
    Description description;
    bool takesCommands = false;
    QSet<quint64> awaited;
};

// A request that needs the window's thread. The id names the connection that
// waits for a copy-data answer.
struct PendingRequest {
    RequestKind kind = RequestKind::Activate;
    QByteArray payload;
    quint64 connection = 0;
};

class InstanceListener : public QObject {
    Q_OBJECT
public:
    // deliver runs on the listener's thread; it must only queue the request.
    InstanceListener(std::shared_ptr<InstanceState> state, std::function<void(PendingRequest)> deliver);
    ~InstanceListener() override;

    bool Listen(const QString& path);
    void Stop();
    // The window's answer to a copy-data request, if its connection still waits.
    void Answer(quint64 connection, std::uint32_t result);
    // A copy-data request the window dropped: the connection closes unanswered.
    void Abandon(quint64 connection);

private:
    void Accept();
    void Read(quint64 connection);
    void Handle(quint64 connection, const Frame& frame);
    void Reply(quint64 connection, RequestKind kind, const QByteArray& payload);
    void Drop(quint64 connection);

    struct Connection {
        QLocalSocket* socket = nullptr;
        QByteArray received;
        bool answered = false;
    };

    std::shared_ptr<InstanceState> state;
    std::function<void(PendingRequest)> deliver;
    QLocalServer* server = nullptr;
    QHash<quint64, Connection> connections;
    quint64 nextConnection = 1;
};

} // namespace platform
