// SPDX-License-Identifier: GPL-3.0-or-later
// The handler that draws the document's pictures: images through Qt's own
// handler, metafiles from images rendered once per picture and size, and framed
// placeholders for what cannot be drawn.
#pragma once

#include <QCache>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTextObjectInterface>
#include <QThreadPool>

class QAbstractTextDocumentLayout;
class QWidget;

namespace platform {

class PictureHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    static PictureHandler& Instance();

    QSizeF intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int posInDocument,
                    const QTextFormat& format) override;

    // Waits until the pictures asked for on screen are rendered and their
    // windows told to repaint.
    void WaitForRendering();

private:
    explicit PictureHandler(QObject* parent);
    void Rendered(const QString& key, const QImage& image);
    QImage* Cached(const QString& key);

    QObject* images = nullptr;                         // Qt's own image handler
    QCache<QString, QImage> cache;                     // cost in kilobytes; a null image: cannot be drawn
    QSet<QString> pending;
    QHash<QString, QList<QPointer<QWidget>>> waiting;
    QThreadPool pool;                                  // last: joins its work before the rest goes
};

// Makes the layout draw pictures through the handler.
void InstallPictureHandler(QAbstractTextDocumentLayout& layout);

} // namespace platform
