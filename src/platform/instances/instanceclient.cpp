// SPDX-License-Identifier: GPL-3.0-or-later
// Listing the copies and sending them requests over their local sockets.
#include "instanceclient.h"

#include "instancefolder.h"
#include "instanceprotocol.h"
#include "localsocket.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A handle from a socket's file name: digits only, a plausible process id.
std::optional<qint64> HandleOfName(const QString& name)
{
    if (name.isEmpty() || name.size() > 10 || name.front() == u'0')
        return std::nullopt;
    for (QChar c : name)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const qint64 handle = name.toLongLong();
    return handle > 0 && handle <= 0x7FFFFFFF ? std::optional<qint64>(handle) : std::nullopt;
}

bool ProcessAlive(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return false;
    // A zombie holds its id until reaped, yet listens no more.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.read(512);
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0 || text.size() < close + 3)
        return true;
    const char state = text[close + 2];
    return state != 'Z' && state != 'X';
}

ino_t InodeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISSOCK(info.st_mode) ? info.st_ino : 0;
}

// One request on its own connection.
class Exchange {
public:
    Exchange(QString folder, qint64 handle) : path(InstanceSocketPath(folder, handle)), handle(handle) {}

    // Connects and sends; false when the copy cannot be reached. A socket whose
    // copy has died is removed.
    bool Send(RequestKind kind, const QByteArray& payload, const QDeadlineTimer& deadline)
    {
        IgnoreBrokenPipes();
        const ino_t inode = InodeOf(path);
        if (inode == 0)
            return false;
        socket.connectToServer(path);
        if (!socket.waitForConnected(int(std::max<qint64>(1, deadline.remainingTime())))) {
            if (socket.error() == QLocalSocket::ConnectionRefusedError && !ProcessAlive(handle)
                && InodeOf(path) == inode)
                QFile::remove(path);
            return false;
        }
        // The folder is private, yet the peer is checked too: only a copy of this
        // user, and the very process the socket names, is spoken to.
        const std::optional<PeerCredentials> peer = PeerOf(socket.socketDescriptor());
        if (!peer || peer->uid != qint64(::getuid()) || peer->pid != handle) {
            socket.abort();
            return false;
        }
        sentKind = kind;
        socket.write(EncodeRequest(kind, payload));
        return socket.waitForBytesWritten(int(std::max<qint64>(1, deadline.remainingTime()))) || socket.bytesToWrite() == 0;
    }

    // The answer's payload; nothing on a wrong answer, a closed socket or the
    // deadline. An answer already waiting is read even after the deadline: the
    // slowest copy of a listing must not cost the others their answers.
    std::optional<QByteArray> Receive(const QDeadlineTimer& deadline)
    {
        QByteArray received;
        for (;;) {
            received += socket.readAll();
            Frame frame;
            switch (DecodeAnswer(received, frame)) {
            case FrameState::Complete:
                socket.disconnectFromServer();
                if (frame.kind != sentKind)
                    return std::nullopt;
                return frame.payload;
            case FrameState::Invalid:
                socket.abort();
                return std::nullopt;
            case FrameState::Incomplete:
                break;
            }
            if (socket.state() != QLocalSocket::ConnectedState
                || !socket.waitForReadyRead(int(std::max<qint64>(0, deadline.remainingTime())))) {
                socket.abort();
                return std::nullopt;
            }
        }
    }

private:
    QString path;
    qint64 handle;
    QLocalSocket socket;
    RequestKind sentKind = RequestKind::Describe;
};

std::optional<QByteArray> Request(qint64 handle, RequestKind kind, const QByteArray& payload, int timeoutMs)
{
    const std::optional<QString> folder = InstanceFolder(false);
    if (!folder || handle <= 0)
        return std::nullopt;
    const QDeadlineTimer deadline(timeoutMs);
    Exchange exchange(*folder, handle);
    if (!exchange.Send(kind, payload, deadline))
        return std::nullopt;
    return exchange.Receive(deadline);
}

bool Posted(qint64 handle, RequestKind kind, const QByteArray& payload, int timeoutMs)
{
    const std::optional<QByteArray> answer = Request(handle, kind, payload, timeoutMs);
    if (!answer)
        return false;
    const std::optional<std::uint32_t> result = DecodeResult(*answer);
    return result && *result != 0;
}

} // namespace

qint64 OwnHandle()
{
    return qint64(::getpid());
}

std::vector<TInstance> ListInstances(int timeoutMs)
{
    std::vector<TInstance> list;
    const std::optional<QString> folder = InstanceFolder(false);
    if (!folder)
        return list;
    const QDeadlineTimer deadline(timeoutMs);
    // Every copy is asked first and the answers are read after, so the listing
    // takes as long as the slowest copy, not as long as all of them together.
    std::vector<std::pair<qint64, std::unique_ptr<Exchange>>> asked;
    const QStringList names = QDir(*folder).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const std::optional<qint64> handle = HandleOfName(name);
        if (!handle)
            continue;
        auto exchange = std::make_unique<Exchange>(*folder, *handle);
        if (exchange->Send(RequestKind::Describe, {}, deadline))
            asked.emplace_back(*handle, std::move(exchange));
    }
    for (auto& [handle, exchange] : asked) {
        const std::optional<QByteArray> answer = exchange->Receive(deadline);
        const std::optional<Description> description = answer ? DecodeDescription(*answer) : std::nullopt;
        if (description)
            list.push_back({handle, description->tag, description->applicationTag,
                            QString::fromUtf8(description->caption)});
    }
    std::sort(list.begin(), list.end(), [](const TInstance& a, const TInstance& b) { return a.handle < b.handle; });
    return list;
}

bool ActivateInstance(qint64 handle, int timeoutMs)
{
    return Posted(handle, RequestKind::Activate, {}, timeoutMs);
}

bool CloseInstance(qint64 handle, int timeoutMs)
{
    return Posted(handle, RequestKind::Close, {}, timeoutMs);
}

bool SendCommand(qint64 handle, const QString& command, int timeoutMs)
{
    const QByteArray text = command.toUtf8();
    if (text.size() > qsizetype(MaxPayload(RequestKind::Command)))
        return false;
    return Posted(handle, RequestKind::Command, text, timeoutMs);
}

std::optional<std::uint32_t> SendCopyData(qint64 handle, std::uint32_t dwData, const QByteArray& record,
                                          int timeoutMs)
{
    // The window is told when this call stops waiting, so that it does not carry
    // out later what the caller has by then given up on.
    const qint64 deadlineNs = MonotonicNowNs() + qint64(std::max(timeoutMs, 0)) * 1'000'000;
    const QByteArray payload = EncodeCopyData({dwData, deadlineNs, record});
    if (payload.size() > qsizetype(MaxPayload(RequestKind::CopyData)))
        return std::nullopt;
    const std::optional<QByteArray> answer = Request(handle, RequestKind::CopyData, payload, timeoutMs);
    return answer ? DecodeResult(*answer) : std::nullopt;
}

} // namespace platform
