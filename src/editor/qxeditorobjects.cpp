// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's embedded objects: the Insert Object and Object Properties dialogs,
// paste as object, copying the current object, the verbs of the context menu and
// opening objects in the desktop's programs.
#include "qxeditor.h"

#include "editorerrors.h"
#include "filenames.h"
#include "objectcopies.h"
#include "objectfiles.h"
#include "prompter.h"
#include "qlconsts.h"
#include "richedit.h"
#include "sysbib.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QUrl>

using platform::EmbeddedObject;
using platform::RichEdit;

namespace {

QString ErrorText(const std::exception& error)
{
    return QString::fromUtf8(error.what());
}

QString SizeText(qint64 bytes)
{
    return Tr(QlConsts::ObjectSizeBytes).arg(QLocale().toString(bytes));
}

QString PropertiesCaption(const QString& typeName)
{
    return Tr(QlConsts::ObjectProperties).replace(QLatin1String("%s"), typeName);
}

QString SourceText(const EmbeddedObject& object)
{
    return platform::DisplayFileName(platform::FileNameFromBytes(object.source));
}

} // namespace

bool TqxEditor::ObjectsRefused() const
{
    if (allowObjects)
        return false;
    ErrorBox(Tr(QlConsts::ObjectsNotAllowed));
    return true;
}

bool TqxEditor::InsertObjectFile(const QString& path, bool link, bool asIcon)
{
    if (ObjectsRefused() || readOnly)
        return false;
    try {
        const EmbeddedObject object = link ? LinkFile(path, asIcon) : EmbedFile(path, asIcon);
        return Window()->InsertObject(object);
    } catch (const EEditorError& error) {
        ErrorBox(ErrorText(error));
        return false;
    }
}

bool TqxEditor::InsertObjectDialog()
{
    if (ObjectsRefused() || readOnly)
        return false;
    InsertObjectRequest request;
    request.newKinds << Tr(QlConsts::NewPictureKind) << Tr(QlConsts::NewTextKind);
    request.directory = platform::CurrentFolder();
    const std::optional<InsertObjectAnswer> answer = CurrentPrompter().InsertObjectDialog(request);
    if (!answer)
        return false;
    if (!answer->createNew)
        return InsertObjectFile(answer->fileName, answer->link, answer->asIcon);
    EmbeddedObject object = NewObject(answer->newKind == 0 ? TNewObjectKind::Picture : TNewObjectKind::Text);
    object.asIcon = object.asIcon || answer->asIcon;
    if (!Window()->InsertObject(object))
        return false;
    // A new object opens in its program at once, as a new document would.
    OpenObjectAt(window->SelectedObject());
    return true;
}

bool TqxEditor::HasCurrentObject() const
{
    return window && window->CurrentObject() >= 0;
}

bool TqxEditor::CopyCurrentObject()
{
    if (!window)
        return false;
    const std::int32_t pos = window->CurrentObject();
    return pos >= 0 && window->CopyObject(pos);
}

bool TqxEditor::PasteAsObject()
{
    if (ObjectsRefused() || readOnly)
        return false;
    RichEdit* control = Window();
    const QMimeData* source = QApplication::clipboard()->mimeData();
    // Rich text (our own copies and other programs') carries its objects itself.
    if (source && source->hasFormat(QStringLiteral("text/rtf"))) {
        control->Paste();
        return true;
    }
    QStringList files;
    if (source && source->hasUrls())
        for (const QUrl& url : source->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    if (!files.isEmpty()) {
        bool any = false;
        control->BeginUndoGroup();
        for (const QString& file : files) {
            if (any) {
                const std::int32_t end = control->ExGetSel().cpMax;
                control->SetSel(end, end);
            }
            if (!InsertObjectFile(file, false, false))
                break;
            any = true;
        }
        control->EndUndoGroup();
        return any;
    }
    if (source && source->hasImage()) {
        const QImage picture = qvariant_cast<QImage>(source->imageData());
        if (!picture.isNull()) {
            EmbeddedObject object;
            QBuffer buffer(&object.data);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, "PNG");
            object.mimeType = QStringLiteral("image/png");
            return control->InsertObject(object);
        }
    }
    if (control->CanPaste()) {
        control->Paste();
        return true;
    }
    InformationBox(Tr(QlConsts::NothingToPasteAsObject));
    return false;
}

bool TqxEditor::OpenObjectAt(std::int32_t pos)
{
    if (!window || pos < 0)
        return false;
    const std::optional<EmbeddedObject> object = window->ObjectAt(pos);
    if (!object)
        return false;
    if (!objectCopies)
        objectCopies = std::make_unique<TObjectCopies>();
    QString path;
    if (object->link) {
        path = platform::FileNameFromBytes(object->source);
        if (!platform::IsExistingFile(path)) {
            ErrorBox(Tr(QlConsts::CannotFindFile) + platform::DisplayFileName(path));
            return false;
        }
    } else {
        try {
            path = objectCopies->MakeCopy(*object);
        } catch (const EEditorError& error) {
            ErrorBox(ErrorText(error));
            return false;
        }
    }
    const QString what = object->name.isEmpty() ? platform::ObjectTypeName(*object) : object->name;
    const platform::OpenFileResult result = ObjectOpener ? ObjectOpener(path, platform::ObjectMimeType(*object))
                                                         : platform::OpenFileResult::NoHandler;
    if (result == platform::OpenFileResult::Opened) {
        objectCopies->Follow(window->Document(), pos, path, object->link);
        return true;
    }
    if (!object->link)
        objectCopies->Discard(path);
    if (result == platform::OpenFileResult::NoHandler)
        ErrorBox(Tr(QlConsts::ObjectNoProgram).arg(platform::ObjectTypeName(*object)));
    else if (result == platform::OpenFileResult::Refused)
        ErrorBox(Tr(QlConsts::ObjectNeverRuns).arg(what));
    else
        ErrorBox(Tr(QlConsts::ObjectNotOpened).arg(what));
    return false;
}

bool TqxEditor::DoVerb(int verb)
{
    if (verb != 0 || !allowObjects || !window)
        return false;
    return OpenObjectAt(window->SelectedObject());
}

void TqxEditor::CheckOpenedObjects()
{
    if (!window || !objectCopies)
        return;
    for (TObjectCopies::Change& change : objectCopies->Changed(window->Document())) {
        std::optional<EmbeddedObject> object = window->ObjectAt(change.pos);
        if (!object)
            continue;
        if (change.link) {
            if (!IsPictureData(change.bytes) || change.bytes == object->data)
                continue;
            object->data = std::move(change.bytes);
        } else {
            if (change.bytes == object->data)
                continue;
            object->data = std::move(change.bytes);
            // A picture keeps its shown size only while it keeps its own size.
            object->shownSize = {};
        }
        window->SetObjectAt(change.pos, *object);
    }
}

bool TqxEditor::ObjectPropertiesDialog()
{
    if (!allowObjects || !window)
        return false;
    const std::int32_t start = window->SelectedObject();
    if (start < 0)
        return false;
    EmbeddedObject object = *window->ObjectAt(start);
    // The link buttons change the object while the dialog is open; its place
    // follows any change they make.
    QTextCursor place(window->Document());
    place.setPosition(start);
    place.setPosition(start + 1, QTextCursor::KeepAnchor);
    auto pos = [&place] { return place.selectionStart(); };

    ObjectPropertiesRequest request;
    request.typeName = platform::ObjectTypeName(object);
    request.caption = PropertiesCaption(request.typeName);
    request.name = object.name.isEmpty() ? request.typeName : object.name;
    if (object.link) {
        request.location = SourceText(object);
        const QByteArray sourceBytes = object.source;
        try {
            request.size = SizeText(ReadObjectFile(platform::FileNameFromBytes(sourceBytes)).size());
        } catch (const EEditorError&) {
            request.size = Tr(QlConsts::ObjectSizeUnknown);
        }
    } else {
        request.location = Tr(QlConsts::ObjectEmbeddedIn).arg(Tr(QlConsts::AppTitle));
        request.size = SizeText(object.data.size());
    }
    request.picture = platform::ObjectShownImage(object);
    // A link shows its source's picture as it is now, if the source is one.
    EmbeddedObject fresh = object;
    const bool sourcePicture = object.link && RefreshLink(fresh);
    request.canShowContent = object.link ? sourcePicture : IsPictureData(object.data);
    request.asIcon = object.asIcon || !platform::ShowsPicture(object);
    request.isLink = object.link;
    request.source = SourceText(object);
    request.changeSource = [&](const QString& source) {
        if (source.trimmed().isEmpty()) {
            CurrentPrompter().Message(MsgKind::Error, Tr(QlConsts::LinkPropertiesCaption),
                                      Tr(QlConsts::CannotLinkInvalidSource), MsgButton::Ok);
            return false;
        }
        try {
            EmbeddedObject relinked = LinkFile(source.trimmed(), object.asIcon);
            window->SetObjectAt(pos(), relinked);
            object = relinked;
            return true;
        } catch (const EEditorError& error) {
            ErrorBox(ErrorText(error));
            return false;
        }
    };
    request.breakLink = [] {
        CurrentPrompter().Message(MsgKind::Information, Tr(QlConsts::LinkPropertiesCaption),
                                  Tr(QlConsts::BreakLinkNotSupported), MsgButton::Ok);
    };
    request.openSource = [&] { OpenObjectAt(pos()); };
    request.updateNow = [&] {
        if (RefreshLink(object))
            window->SetObjectAt(pos(), object);
    };
    const std::optional<ObjectPropertiesAnswer> answer = CurrentPrompter().ObjectPropertiesDialog(request);
    if (!answer)
        return false;
    const bool asIcon = answer->asIcon || !request.canShowContent;
    if (asIcon != object.asIcon && window->ObjectAt(pos())) {
        if (object.link && !asIcon && RefreshLink(fresh) && fresh.source == object.source)
            object.data = fresh.data;
        object.asIcon = asIcon;
        window->SetObjectAt(pos(), object);
    }
    return true;
}

void TqxEditor::ClearVerbMenu()
{
    for (const QPointer<QAction>& item : verbItems) {
        if (!item)
            continue;
        if (popupMenu)
            popupMenu->removeAction(item);
        if (item->parent() != verbMenu)
            item->deleteLater();
    }
    verbItems.clear();
    if (verbMenu)
        verbMenu->deleteLater();
    verbMenu = nullptr;
}

QMenu* TqxEditor::ObjectPopupMenu()
{
    ClearVerbMenu();
    const std::int32_t pos = allowObjects && autoVerbMenu && window ? window->SelectedObject() : -1;
    if (pos < 0)
        return popupMenu;
    const QString typeName = platform::ObjectTypeName(*window->ObjectAt(pos));
    verbMenu = new QMenu(typeName, this);
    verbMenu->menuAction()->setObjectName(QStringLiteral("mpObjectVerbs"));
    QAction* open = verbMenu->addAction(Tr(QlConsts::ObjectVerbOpen));
    open->setObjectName(QStringLiteral("mpObjectOpen"));
    verbMenu->setDefaultAction(open);
    connect(open, &QAction::triggered, this, [this] { DoVerb(0); });
    auto* properties = new QAction(PropertiesCaption(typeName), this);
    properties->setObjectName(QStringLiteral("mpObjectProperties"));
    connect(properties, &QAction::triggered, this, [this] { ObjectPropertiesDialog(); });
    if (popupMenu && !popupMenu->actions().isEmpty()) {
        verbItems.emplace_back(popupMenu->addSeparator());
        popupMenu->addAction(properties);
        verbItems.emplace_back(properties);
        verbItems.emplace_back(popupMenu->addMenu(verbMenu));
        return popupMenu;
    }
    properties->setParent(verbMenu);
    verbMenu->insertAction(open, properties);
    return verbMenu;
}
