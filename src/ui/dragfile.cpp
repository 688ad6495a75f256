// SPDX-License-Identifier: GPL-3.0-or-later
// Reading file drops and routing them from the window and its client widget.
#include "dragfile.h"

#include "filenames.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

// The name's own bytes from a file URL: the percent-encoded path decoded to
// bytes, not to text, so that a name in an old code page stays what it is.
QByteArray LocalNameBytes(const QUrl& url)
{
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

bool IsLocalFileUrl(const QUrl& url)
{
    return url.isLocalFile() && (url.host().isEmpty() || url.host() == QLatin1String("localhost"));
}

// Watches the window and its client widget for file drags.
class FileDropFilter : public QObject {
public:
    FileDropFilter(QWidget* window, QWidget* client, TDropHandler onDrop)
        : QObject(window), window(window), client(client), handler(std::move(onDrop))
    {
        setObjectName(QStringLiteral("FileDropFilter"));
    }

    void Detach()
    {
        window->removeEventFilter(this);
        if (client)
            client->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            break;
        default:
            return false;
        }
        auto* drag = static_cast<QDropEvent*>(event);
        if (!CarriesFiles(drag->mimeData()))
            return false;
        const bool onClient = watched == client.get();
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            // Only the client area takes files; elsewhere the drag shows it
            // cannot drop, and a drop that comes all the same is ignored.
            if (onClient)
                drag->acceptProposedAction();
            else if (event->type() == QEvent::DragEnter)
                drag->acceptProposedAction();  // to follow the drag onto the client widget
            else
                drag->ignore();
            return true;
        }
        const QPoint point =
            static_cast<QWidget*>(watched)->mapTo(window, drag->position().toPoint());
        std::shared_ptr<TDragDropInfo> info = ReadDrop(*drag->mimeData(), point, onClient);
        drag->acceptProposedAction();
        QTimer::singleShot(0, this, [this, info]() mutable {
            if (handler)
                handler(std::make_unique<TDragDropInfo>(std::move(*info)));
        });
        return true;
    }

private:
    QWidget* window;
    QPointer<QWidget> client;
    TDropHandler handler;
};

FileDropFilter* FilterOf(QWidget* window)
{
    return window->findChild<FileDropFilter*>(QStringLiteral("FileDropFilter"), Qt::FindDirectChildrenOnly);
}

} // namespace

bool CarriesFiles(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return false;
    for (const QUrl& url : data->urls())
        if (IsLocalFileUrl(url))
            return true;
    return false;
}

std::unique_ptr<TDragDropInfo> ReadDrop(const QMimeData& data, const QPoint& dropPoint, bool inClientArea)
{
    auto info = std::make_unique<TDragDropInfo>();
    info->InClientArea = inClientArea;
    info->DropPoint = dropPoint;
    for (const QUrl& url : data.urls()) {
        if (!IsLocalFileUrl(url))
            continue;
        const QByteArray bytes = LocalNameBytes(url);
        if (bytes.isEmpty())
            continue;
        info->Files << platform::FileNameFromBytes(bytes);
    }
    info->NumFiles = int(info->Files.size());
    return info;
}

void DragAcceptFiles(QWidget* window, QWidget* clientArea, TDropHandler handler)
{
    DragRefuseFiles(window);
    auto* filter = new FileDropFilter(window, clientArea, std::move(handler));
    window->setAcceptDrops(true);
    window->installEventFilter(filter);
    if (clientArea) {
        clientArea->setAcceptDrops(true);
        clientArea->installEventFilter(filter);
    }
}

void DragRefuseFiles(QWidget* window)
{
    if (FileDropFilter* filter = FilterOf(window)) {
        filter->Detach();
        delete filter;
    }
    window->setAcceptDrops(false);
}
