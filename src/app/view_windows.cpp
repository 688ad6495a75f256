// SPDX-License-Identifier: GPL-3.0-or-later
// Several windows: each copy of the program is a process with one window. The
// copies find each other for the Window menu, Close window and Exit; a copy
// started with "|?" shows the files other programs name in view requests; files
// dropped on the editor open here and in new copies.
#include "view.h"

#include "filenames.h"

#include "dragfile.h"
#include "instanceclient.h"
#include "instanceserver.h"
#include "qlconsts.h"
#include "richedit.h"
#include "sysbib.h"
#include "viewrequest.h"

#include <QApplication>
#include <QFile>
#include <QMenu>

#include <limits>

namespace {

// The copy-data answers a view-request sender sees.
constexpr std::uint32_t RequestNotTaken = 0;
constexpr std::uint32_t RequestShown = 1;
constexpr std::uint32_t RequestNotShown = 2;  // taken, but the file could not be shown

std::int32_t ToPosition(std::uint32_t value)
{
    return static_cast<std::int32_t>(std::min<std::uint32_t>(value, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

QString TfmView::InstanceCaption(const QString& text)
{
    // A copy's caption shows its name escaped already; one that came otherwise
    // must not break the menu item either.
    const QString shown = platform::EscapedControls(text);
    const qsizetype slash = shown.lastIndexOf(u'/');
    return slash < 0 ? shown : Tr(QlConsts::FilePrefix) + shown.mid(slash + 1);
}

void TfmView::RegisterWindow()
{
    DragAcceptFiles(this, GEditor->Window()->viewport(),
                    [this](std::unique_ptr<TDragDropInfo> info) { WMDropFiles(std::move(info)); });
    instances = new platform::InstanceServer(this);
    instances->IsBusy = [] {
        // A question is open or a command is running under the hourglass: the
        // others' requests wait for it to end rather than run inside it.
        return QApplication::activeModalWidget() != nullptr || QApplication::overrideCursor() != nullptr;
    };
    instances->OnActivate = [this] { BringToFront(); };
    instances->OnClose = [this] {
        if (isVisible())
            close();
    };
    instances->OnCopyData = [this](std::uint32_t dwData, const QByteArray& record) {
        return CopyDataHook(dwData, record);
    };
    instances->SetTag(INSTANCE_TAG);
    instances->SetCaption(windowTitle());
    connect(this, &QWidget::windowTitleChanged, instances, &platform::InstanceServer::SetCaption);
    instances->Register();
}

void TfmView::WithdrawWindow()
{
    DragRefuseFiles(this);
    if (instances)
        instances->Withdraw();
}

void TfmView::AcceptViewRequests()
{
    AcceptCopyData = true;
    instances->SetApplicationTag(VIEW_REQUEST_TAG);
}

void TfmView::InstanceReady()
{
    instances->SetReady(true);
}

void TfmView::BringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TfmView::EnumInstanceWindows()
{
    InstanceHandles.clear();
    InstanceCaptions.clear();
    for (const platform::TInstance& copy : platform::ListInstances()) {
        if (copy.tag != INSTANCE_TAG)
            continue;
        InstanceHandles << copy.handle;
        InstanceCaptions << InstanceCaption(copy.caption);
    }
    // This window is always one of the copies, even when the others cannot see
    // it (no usable runtime folder).
    const qint64 own = platform::OwnHandle();
    if (!InstanceHandles.contains(own) && isVisible()) {
        qsizetype at = 0;
        while (at < InstanceHandles.size() && InstanceHandles[at] < own)
            ++at;
        InstanceHandles.insert(at, own);
        InstanceCaptions.insert(at, InstanceCaption(windowTitle()));
    }
}

void TfmView::FillMenu()
{
    QMenu* menu = Menu(QStringLiteral("meWnd"));
    const QList<QAction*> actions = menu->actions();
    // Full screen, New window and the separator stay; the copies are listed anew.
    for (qsizetype i = 3; i < actions.size(); ++i) {
        menu->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    EnumInstanceWindows();
    const qint64 own = platform::OwnHandle();
    for (qsizetype i = 0; i < InstanceHandles.size(); ++i) {
        const qint64 handle = InstanceHandles[i];
        QString caption = InstanceCaptions[i];
        // A name is shown as it is; "&" would otherwise mark an accelerator.
        QAction* item = menu->addAction(caption.replace(u'&', QStringLiteral("&&")));
        item->setObjectName(QStringLiteral("Instance%1").arg(handle));
        item->setCheckable(true);
        item->setChecked(handle == own);
        connect(item, &QAction::triggered, this, [this, handle] { ChangeWindow(handle); });
    }
}

void TfmView::ChangeWindow(qint64 handle)
{
    if (handle == platform::OwnHandle())
        BringToFront();
    else
        platform::ActivateInstance(handle);
}

void TfmView::N10Click()
{
    StartCopy({});
}

void TfmView::meClsWClick()
{
    if (!QuestSave())
        return;
    GEditor->SetModified(false);
    EnumInstanceWindows();
    const qint64 own = platform::OwnHandle();
    if (InstanceHandles.size() > 1) {
        for (qint64 handle : std::as_const(InstanceHandles)) {
            if (handle != own) {
                platform::ActivateInstance(handle);
                break;
            }
        }
    }
    closingAccepted = true;
    if (!close())
        closingAccepted = false;
}

void TfmView::N30Click()
{
    EnumInstanceWindows();
    const qint64 own = platform::OwnHandle();
    // Exit waits for no one: each copy is asked to close and answers its own
    // save question in its own time.
    for (qint64 handle : std::as_const(InstanceHandles)) {
        if (handle == own)
            continue;
        platform::ActivateInstance(handle);
        platform::CloseInstance(handle);
    }
    BringToFront();
    close();
}

std::uint32_t TfmView::CopyDataHook(std::uint32_t dwData, const QByteArray& record)
{
    if (!AcceptCopyData || dwData != VIEW_REQUEST_TAG)
        return RequestNotTaken;
    const std::optional<TViewRequest> request = ParseViewRequest(record);
    if (!request || !IsShownEncoding(request->Encoding))
        return RequestNotTaken;
    // The name's bytes are the name; one that is not a full path would be taken
    // against this copy's folder and lead to some other file: not shown. Nor is
    // anything but a regular file (a device, a FIFO, a link to one), and that is
    // answered at once: the sender waits for the answer and no one is there to
    // read a message about it.
    const QString name = platform::FileNameFromBytes(request->FileName);
    if (!request->FileName.startsWith('/') || !RegularFileMode(name))
        return RequestNotShown;

    const bool wasModified = GEditor->Modified();
    const bool autoEncoding = GEditor->AutoEncoding();
    const TDosAdd dosAdd = GEditor->DosAdd();
    const TUniType uniType = GEditor->UniType();
    GEditor->SetModified(false);
    GEditor->SetAutoEncoding(false);
    GEditor->SetDosAdd(daNone);
    GEditor->SetUniType(request->BigEndian ? Big : Little);
    // A load that fails all the same (unreadable, changed meanwhile) is answered
    // "not shown" rather than with a box that would hold this and every later
    // request until someone clicks it away.
    quietErrors = true;
    LoadNewFile(name, request->Encoding, true, ToPosition(request->SelLength), ToPosition(request->CaretPos));
    quietErrors = false;
    if (CurFileName != name) {
        // The load failed and said so; the window keeps its ways of reading.
        GEditor->SetAutoEncoding(autoEncoding);
        GEditor->SetDosAdd(dosAdd);
        GEditor->SetUniType(uniType);
        if (wasModified)
            GEditor->SetModified(true);
        return RequestNotShown;
    }
    if (!request->KeepName) {
        CurFileName.clear();
        FillCaption();
        TaskBarName();
    }
    return RequestShown;
}

void TfmView::WMDropFiles(std::unique_ptr<TDragDropInfo> info)
{
    if (!info || !info->InClientArea || info->NumFiles < 1)
        return;
    bool loadedHere = false;
    for (const QString& name : std::as_const(info->Files)) {
        if (!FileExists(name))
            continue;
        if (loadedHere) {
            StartCopy({name});
        } else if (QuestSave()) {
            LoadNewFile(name, CurEncoding, false, 0, 0);
            loadedHere = true;
        }
    }
}
