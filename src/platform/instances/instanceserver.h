// SPDX-License-Identifier: GPL-3.0-or-later
// This copy as the others see it: registered under its handle while it runs,
// describing itself by its tags and caption, and taking the others' requests on
// the window's thread, one at a time and only when the window is free for them.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

namespace platform {

class InstanceListener;
class InstanceState;
struct PendingRequest;

class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QObject* parent = nullptr);
    ~InstanceServer() override;

    // Starts listening under this process's handle; false when the copies'
    // folder cannot be used (the copy then runs on its own, unseen). A process
    // has one registration: a newer one takes over from an older one.
    bool Register();
    // Stops listening and removes the socket; requests not yet carried out are
    // dropped. Also done on destruction.
    void Withdraw();
    bool Registered() const { return listener != nullptr; }

    void SetTag(std::uint32_t tag);
    void SetApplicationTag(std::uint32_t tag);
    void SetCaption(const QString& caption);

    // Requests wait until the window has finished starting...
    void SetReady(bool ready);
    // ...and are held while this answers true (a modal question, a load).
    std::function<bool()> IsBusy;

    std::function<void()> OnActivate;
    std::function<void()> OnClose;
    // dwData and the record; the answer goes back to the sender.
    std::function<std::uint32_t(std::uint32_t dwData, const QByteArray& record)> OnCopyData;
    // Setting it makes the copy take commands; for test scripts only.
    void SetOnCommand(std::function<void(const QString&)> handler);

private:
    void Queue(PendingRequest request);
    void Pump();

    std::shared_ptr<InstanceState> state;
    QThread thread;
    InstanceListener* listener = nullptr;
    std::deque<std::unique_ptr<PendingRequest>> pending;
    QTimer retry;
    bool ready = false;
    bool pumping = false;
    std::function<void(const QString&)> onCommand;
};

} // namespace platform
