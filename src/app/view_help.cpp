// SPDX-License-Identifier: GPL-3.0-or-later
// The Help menu, F1 at the context of the menu item, menu or window it is pressed
// in, and the about box.
#include "view.h"

#include "about.h"
#include "helpviewer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace {

// F1 anywhere in the program: the help of what the key was pressed in.
class THelpKey : public QObject {
public:
    explicit THelpKey(TfmView& owner) : QObject(&owner), view(owner) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        view.ShowHelp(view.HelpContextNow());
        return true;
    }

private:
    TfmView& view;
};

int ContextOf(const QObject* object)
{
    const QVariant value = object ? object->property(HelpContextProperty) : QVariant();
    return value.isValid() ? value.toInt() : 0;
}

} // namespace

int TfmView::HelpContextNow() const
{
    // An open menu: its highlighted item, else the menu.
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        if (const int context = ContextOf(menu->activeAction()))
            return context;
        if (const int context = ContextOf(menu))
            return context;
    }
    // A modal dialog is what the user works in, wherever the focus was left.
    const QWidget* start = QApplication::focusWidget();
    if (const QWidget* modal = QApplication::activeModalWidget(); modal && !(start && modal->isAncestorOf(start)))
        start = modal;
    if (!start)
        start = QApplication::activeWindow();
    for (const QWidget* w = start; w; w = w->parentWidget())
        if (const int context = ContextOf(w))
            return context;
    return HelpContext::Window;
}

void TfmView::ShowHelp(int context)
{
    // F1 in a menu closes it, as choosing an item would.
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    if (!helpViewer)
        helpViewer = new THelpViewer(this);
    // Above a modal dialog the help must belong to it, or the dialog would block it.
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    if (helpViewer->parentWidget() != owner) {
        helpViewer->hide();
        helpViewer->setParent(owner, Qt::Window);
    }
    helpViewer->ShowContext(context);
}

void TfmView::N36Click()
{
    if (!aboutForm) {
        aboutForm = new TfmAboutForm(this);
        aboutForm->setWindowModality(Qt::ApplicationModal);
    }
    aboutForm->ShowDLLInfo(false);
    // A dialog centres itself over its owner when shown, frame included, and
    // stays inside the screen.
    aboutForm->exec();
}

void TfmView::WireHelpCommands()
{
    setProperty(HelpContextProperty, HelpContext::Window);
    const std::pair<const char*, int> contexts[] = {
        {"N8", HelpContext::FileMenu},     {"N5", HelpContext::Printing},     {"mPreview", HelpContext::Printing},
        {"N13", HelpContext::Printing},    {"N14", HelpContext::EditMenu},    {"N20", HelpContext::SearchMenu},
        {"N24", HelpContext::Bookmarks},   {"N25", HelpContext::Bookmarks},   {"N26", HelpContext::Options},
        {"N33", HelpContext::Encoding},    {"N45", HelpContext::Paragraph},   {"meWnd", HelpContext::Window},
        {"N34", HelpContext::Window},
    };
    for (const auto& [name, context] : contexts) {
        const QString key = QString::fromLatin1(name);
        if (QMenu* menu = Menu(key))
            menu->setProperty(HelpContextProperty, context);
        if (QAction* item = Item(key))
            item->setProperty(HelpContextProperty, context);
    }
    // Submenus not named above take their parent's context.
    for (QMenu* menu : std::as_const(menus)) {
        for (QWidget* parent = menu->parentWidget(); parent && !menu->property(HelpContextProperty).isValid();
             parent = parent->parentWidget())
            if (parent->property(HelpContextProperty).isValid() && qobject_cast<QMenu*>(parent))
                menu->setProperty(HelpContextProperty, parent->property(HelpContextProperty));
    }
    PopupMenu1->setProperty(HelpContextProperty, HelpContext::EditMenu);
    PopupMenu2->setProperty(HelpContextProperty, HelpContext::Paragraph);
    PopupMenu3->setProperty(HelpContextProperty, HelpContext::Printing);
    paTop->setProperty(HelpContextProperty, HelpContext::Encoding);

    connect(Item(QStringLiteral("N35")), &QAction::triggered, this, [this] { ShowHelp(HelpContext::Window); });
    connect(Item(QStringLiteral("N36")), &QAction::triggered, this, &TfmView::N36Click);
    qApp->installEventFilter(new THelpKey(*this));
}
