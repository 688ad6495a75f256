// SPDX-License-Identifier: GPL-3.0-or-later
// Registration of this copy and delivery of the others' requests to its window.
#include "instanceserver.h"

#include "instanceclient.h"
#include "instancefolder.h"
#include "instancelistener.h"
#include "localsocket.h"

namespace platform {

namespace {

// How often a held request looks again whether the window is free.
constexpr int RetryMs = 50;
// A copy-data request is begun only while its sender will wait this much longer:
// room for the answer to be written and read before the sender gives up.
constexpr qint64 AnswerRoomNs = 50'000'000;

InstanceServer*& Current()
{
    static InstanceServer* current = nullptr;
    return current;
}

} // namespace

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), state(std::make_shared<InstanceState>())
{
    thread.setObjectName(QStringLiteral("instances"));
    retry.setSingleShot(true);
    retry.setInterval(RetryMs);
    connect(&retry, &QTimer::timeout, this, &InstanceServer::Pump);
}

InstanceServer::~InstanceServer()
{
    Withdraw();
}

bool InstanceServer::Register()
{
    Withdraw();
    const std::optional<QString> folder = InstanceFolder(true);
    if (!folder)
        return false;
    IgnoreBrokenPipes();
    if (Current() && Current() != this)
        Current()->Withdraw();
    if (!thread.isRunning())
        thread.start();
    // Requests come from the listener's thread; they are queued here, on ours.
    // The listener never outlives this object: Withdraw ends it first.
    auto deliver = [this](PendingRequest request) {
        QMetaObject::invokeMethod(this, [this, request] { Queue(request); }, Qt::QueuedConnection);
    };
    auto* created = new InstanceListener(state, deliver);
    created->moveToThread(&thread);
    bool listening = false;
    const QString path = InstanceSocketPath(*folder, OwnHandle());
    QMetaObject::invokeMethod(created, [&] { listening = created->Listen(path); }, Qt::BlockingQueuedConnection);
    listener = created;
    if (!listening) {
        Withdraw();
        return false;
    }
    Current() = this;
    return true;
}

void InstanceServer::Withdraw()
{
    if (listener) {
        InstanceListener* stopping = listener;
        listener = nullptr;
        QMetaObject::invokeMethod(stopping, &InstanceListener::Stop, Qt::BlockingQueuedConnection);
        // Deleted on its own thread as that thread finishes, below.
        stopping->deleteLater();
    }
    if (thread.isRunning()) {
        thread.quit();
        thread.wait();
    }
    pending.clear();
    retry.stop();
    if (Current() == this)
        Current() = nullptr;
}

void InstanceServer::SetTag(std::uint32_t tag)
{
    state->SetTag(tag);
}

void InstanceServer::SetApplicationTag(std::uint32_t tag)
{
    state->SetApplicationTag(tag);
}

void InstanceServer::SetCaption(const QString& caption)
{
    state->SetCaption(caption);
}

void InstanceServer::SetReady(bool value)
{
    ready = value;
    if (ready)
        Pump();
}

void InstanceServer::SetOnCommand(std::function<void(const QString&)> handler)
{
    onCommand = std::move(handler);
    state->SetTakesCommands(bool(onCommand));
}

void InstanceServer::Queue(PendingRequest request)
{
    if (!listener)
        return;
    pending.push_back(std::make_unique<PendingRequest>(std::move(request)));
    Pump();
}

void InstanceServer::Pump()
{
    // A request's handler may run an event loop (a question, a load that lets
    // the window repaint); the next request waits until it has returned.
    if (pumping)
        return;
    pumping = true;
    while (!pending.empty() && listener) {
        if (!ready || (IsBusy && IsBusy())) {
            retry.start();
            break;
        }
        const std::unique_ptr<PendingRequest> request = std::move(pending.front());
        pending.pop_front();
        switch (request->kind) {
        case RequestKind::Activate:
            if (OnActivate)
                OnActivate();
            break;
        case RequestKind::Close:
            if (OnClose)
                OnClose();
            break;
        case RequestKind::Command:
            if (onCommand)
                onCommand(QString::fromUtf8(request->payload));
            break;
        case RequestKind::CopyData: {
            const quint64 connection = request->connection;
            const std::optional<CopyData> data = DecodeCopyData(request->payload);
            // A request whose sender has gone or given up (it waited behind a
            // question or a load) is dropped: carried out now, it would change
            // the window when no one expects it any more.
            if (data && (!state->Awaited(connection) || MonotonicNowNs() + AnswerRoomNs > data->deadlineNs)) {
                if (InstanceListener* current = listener)
                    QMetaObject::invokeMethod(current, [current, connection] { current->Abandon(connection); },
                                              Qt::QueuedConnection);
                break;
            }
            std::uint32_t result = 0;
            if (data && OnCopyData)
                result = OnCopyData(data->dwData, data->record);
            if (InstanceListener* current = listener) {
                QMetaObject::invokeMethod(current, [current, connection, result] {
                    current->Answer(connection, result);
                }, Qt::QueuedConnection);
            }
            break;
        }
        case RequestKind::Describe:
            break;
        }
    }
    pumping = false;
}

} // namespace platform
