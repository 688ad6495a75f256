// SPDX-License-Identifier: GPL-3.0-or-later
// dragfile: files dropped on a window from the desktop's file manager, read into
// a TDragDropInfo, and the calls that make a window take or refuse such drops.
#pragma once

#include <QPoint>
#include <QStringList>

#include <functional>
#include <memory>

class QMimeData;
class QWidget;

class TDragDropInfo {
public:
    int NumFiles = 0;
    bool InClientArea = false;  // dropped on the client widget (the editor)
    QPoint DropPoint;           // in the window's coordinates
    QStringList Files;          // full paths, in the order the drag gave them
};

// Whether a drag carries names of local files (a file manager's drag), as
// opposed to text dragged within or between editors.
bool CarriesFiles(const QMimeData* data);

// Reads a drop: every local file it names, in order. Names that are not local
// files (web addresses) are left out, and so is a name whose bytes the program
// cannot hold as text, since it would then open a different file.
std::unique_ptr<TDragDropInfo> ReadDrop(const QMimeData& data, const QPoint& dropPoint, bool inClientArea);

using TDropHandler = std::function<void(std::unique_ptr<TDragDropInfo>)>;

// Makes the window take file drops: on the client widget they count as in the
// client area, anywhere else on the window as outside it. The handler runs once
// the drop has completed, so that the source is never kept waiting by the
// questions the handler may ask. Text drags are left to the widgets.
void DragAcceptFiles(QWidget* window, QWidget* clientArea, TDropHandler handler);
// The window takes no more file drops.
void DragRefuseFiles(QWidget* window);
