// SPDX-License-Identifier: GPL-3.0-or-later
// MainMenu1 and the pop-up menus: every item with its caption, name and shortcut,
// and the rules that enable and check items as a menu opens.
#include "view.h"

#include <QMenuBar>

QAction* TfmView::Item(const QString& name) const
{
    return items.value(name);
}

QMenu* TfmView::Menu(const QString& name) const
{
    return menus.value(name);
}

QAction* TfmView::AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                          bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // The editor must not swallow the menu's keys first.
        action->setShortcutContext(Qt::WindowShortcut);
    }
    action->setEnabled(enabled);
    items.insert(action->objectName(), action);
    return action;
}

QMenu* TfmView::AddMenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent ? parent->addMenu(caption) : MainMenu1->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    menus.insert(menu->objectName(), menu);
    items.insert(menu->objectName(), menu->menuAction());
    return menu;
}

void TfmView::BuildMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);
    constexpr bool Later = false;  // commands that arrive with later work

    QMenu* file = AddMenu(nullptr, "N8", tr("File"));
    AddItem(file, "N9", tr("New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    AddItem(file, "N10", tr("New window"), QKeySequence(Qt::CTRL | Qt::Key_W));
    AddItem(file, "meClsW", tr("Close window  (Esc)"));
    file->addSeparator();
    AddItem(file, "N11", tr("Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    AddItem(file, "meOpenW", tr("Open in new window..."), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O));
    AddItem(file, "N19", tr("Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    AddItem(file, "N12", tr("Save as..."), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    QMenu* exportMenu = AddMenu(file, "N57", tr("Export"));
    AddItem(exportMenu, "MacintoshCR1", tr("Macintosh (CR)"));
    AddItem(exportMenu, "UnixLF1", tr("Unix (LF)"));
    file->addSeparator();
    AddItem(file, "N5", tr("Page setup"));
    AddItem(file, "mPreview", tr("Print preview"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P), false);
    AddItem(file, "N13", tr("Print"), QKeySequence(Qt::CTRL | Qt::Key_P), false);
    file->addSeparator();
    AddItem(file, "N30", tr("Exit"));
    QAction* n43 = file->addSeparator();
    n43->setObjectName(QStringLiteral("N43"));
    n43->setVisible(false);
    items.insert(QStringLiteral("N43"), n43);
    for (int n = 1; n <= 10; ++n) {
        const QByteArray name = "File" + QByteArray::number(n);
        QAction* recent = AddItem(file, name.constData(), QString());
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, n] { FileClick(n); });
    }

    QMenu* edit = AddMenu(nullptr, "N14", tr("Edit"));
    AddItem(edit, "mBack", tr("Undo (Ctrl-Z)"));
    AddItem(edit, "mFrw", tr("Redo"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    AddItem(edit, "N16", tr("Select all"), QKeySequence(Qt::CTRL | Qt::Key_A));
    edit->addSeparator();
    AddItem(edit, "mCopy", tr("Copy (Ctrl-C)"));
    AddItem(edit, "mCut", tr("Cut (Ctrl-X)"));
    AddItem(edit, "mCutStr", tr("Delete of line (Ctrl-Y)"), {}, Later);
    AddItem(edit, "mIns", tr("Paste as plain text (Ctrl-V)"));
    AddItem(edit, "mInsF", tr("Paste as object (Ctrl-Alt-V)"), {}, Later);
    edit->addSeparator();
    AddItem(edit, "insob", tr("Insert new object"), QKeySequence(Qt::CTRL | Qt::Key_I), Later);
    edit->addSeparator();
    AddItem(edit, "meUpp", tr("To uppercase (Alt-Plus)"), {}, Later);
    AddItem(edit, "meLow", tr("To lowercase (Alt-Minus)"), {}, Later);

    QMenu* search = AddMenu(nullptr, "N20", tr("Search"));
    AddItem(search, "N21", tr("Find (Ctrl-F)"), {}, Later);
    AddItem(search, "N22", tr("Find next (F3)"), {}, Later);
    AddItem(search, "N23", tr("Replace (Ctrl-R)"), {}, Later);
    AddItem(search, "N32", tr("Replace next (F4)"), {}, Later);
    search->addSeparator();
    AddItem(search, "N24", tr("Make a bookmark"), QKeySequence(Qt::CTRL | Qt::Key_L), Later);
    AddItem(search, "N25", tr("Go to bookmark"), QKeySequence(Qt::CTRL | Qt::Key_G), Later);

    QMenu* options = AddMenu(nullptr, "N26", tr("Options"));
    QMenu* font = AddMenu(options, "N59", tr("Font"));
    AddItem(font, "N28", tr("Choice of font"), QKeySequence(Qt::SHIFT | Qt::Key_F10), Later);
    AddItem(font, "mClr", tr("Marking by color"), QKeySequence(Qt::SHIFT | Qt::Key_F12), Later);
    QMenu* underline = AddMenu(font, "N60", tr("Underline kind"));
    AddItem(underline, "mLine", tr("Line"), {}, Later);
    AddItem(underline, "mBold", tr("Heavy line"), {}, Later);
    AddItem(underline, "mDott", tr("Dotted line"), {}, Later);
    AddItem(underline, "mDash", tr("Dash line"), {}, Later);
    AddItem(underline, "mWave", tr("Wave line"), {}, Later);
    AddItem(underline, "mDotDash", tr("Dash and dot"), {}, Later);
    AddItem(underline, "m2DotDash", tr("Dash and two dot"), {}, Later);
    underline->addSeparator();
    AddItem(underline, "mUlUse", tr("Apply"), QKeySequence(Qt::Key_F7), Later);
    QMenu* indexes = AddMenu(font, "N73", tr("Indexes"));
    AddItem(indexes, "mIHi", tr("Superscript"), {}, Later);
    AddItem(indexes, "mILo", tr("Subscript"), {}, Later);
    indexes->addSeparator();
    AddItem(indexes, "mIUse", tr("Apply"), QKeySequence(Qt::Key_F8), Later);
    AddItem(options, "N27", tr("Background color"), QKeySequence(Qt::SHIFT | Qt::Key_F11), Later);
    QMenu* encoding = AddMenu(options, "N33", tr("Encoding"));
    const char* encodingItems[] = {"mDos", "mWin", "mKoi", "mMac", "mIso", "mUni", "mRtf"};
    const QString encodingCaptions[] = {tr("DOS-866"), tr("WIN-1251"), tr("KOI-8R"), tr("Macintosh"),
                                        tr("ISO 8859-5"), tr("Unicode"), tr("RTF")};
    for (int e = 0; e < 7; ++e)
        AddItem(encoding, encodingItems[e], encodingCaptions[e], {}, Later)->setCheckable(true);
    AddItem(encoding, "mUtf8", tr("UTF-8"), {}, Later)->setCheckable(true);
    encoding->addSeparator();
    QAction* allButtons = AddItem(encoding, "mAllB", tr("All buttons"));
    allButtons->setCheckable(true);
    allButtons->setChecked(true);
    QMenu* paragraph = AddMenu(options, "N45", tr("Paragraph"));
    QMenu* justification = AddMenu(paragraph, "N61", tr("Justification"));
    AddItem(justification, "N47", tr("To left"), {}, Later);
    AddItem(justification, "N48", tr("To center"), {}, Later);
    AddItem(justification, "N49", tr("To right"), {}, Later);
    AddItem(justification, "N56", tr("To justify"), {}, Later);
    QMenu* spacing = AddMenu(paragraph, "N51", tr("Line spacing"));
    AddItem(spacing, "N62", tr("Single"), {}, Later);
    AddItem(spacing, "N63", tr("Sesquialteral"), {}, Later);
    AddItem(spacing, "N64", tr("Double"), {}, Later);
    QMenu* numbering = AddMenu(paragraph, "N50", tr("Numbering"));
    AddItem(numbering, "mnBul", tr("Bullet"), {}, Later);
    AddItem(numbering, "mnDig", tr("1 2 3"), {}, Later);
    AddItem(numbering, "mnLet", tr("a b c"), {}, Later);
    AddItem(numbering, "mnDigF", tr("1. 2. 3."), {}, Later);
    AddItem(numbering, "mnLetF", tr("a. b. c."), {}, Later);
    AddItem(numbering, "mnDigP", tr("1) 2) 3)"), {}, Later);
    AddItem(numbering, "mnLetP", tr("a) b) c)"), {}, Later);
    AddItem(numbering, "mnDigE", tr("(1) (2) (3)"), {}, Later);
    AddItem(numbering, "mnLetE", tr("(a) (b) (c)"), {}, Later);
    numbering->addSeparator();
    AddItem(numbering, "mNUse", tr("Apply"), QKeySequence(Qt::Key_F9), Later);
    paragraph->addSeparator();
    QAction* alignButtons = AddItem(paragraph, "N54", tr("Buttons"));
    alignButtons->setCheckable(true);
    AddItem(options, "N52", tr("Lines wrapping"), QKeySequence(Qt::CTRL | Qt::Key_B), Later)->setCheckable(true);
    QMenu* language = AddMenu(options, "meLang", tr("Language"));
    AddItem(language, "meDef", tr("Default"));
    language->addSeparator();
    options->addSeparator();
    AddItem(options, "N29", tr("Save"), {}, Later);
    options->addSeparator();
    AddItem(options, "meDefault", tr("Screen by default"));
    for (int n = 1; n <= 5; ++n)
        AddItem(options, ("mmSaved" + QByteArray::number(n)).constData(), tr("Saved screen %1").arg(n), {}, Later);

    QMenu* window = AddMenu(nullptr, "meWnd", tr("Window"));
    AddItem(window, "ESC1", tr("Full screen"), QKeySequence(Qt::CTRL | Qt::Key_U));
    AddItem(window, "N15", tr("New window"));
    window->addSeparator();

    QMenu* help = AddMenu(nullptr, "N34", tr("Help"));
    AddItem(help, "N35", tr("Introduction"));
    AddItem(help, "N36", tr("About Quillet"));
    help->addSeparator();
    AddItem(help, "WWW1", tr("To web site"));
    AddItem(help, "N18", tr("Email to author"));

    OnMenuOpening(file, &TfmView::N8Click);
    OnMenuOpening(edit, &TfmView::N14Click);
    OnMenuOpening(options, &TfmView::N26Click);
    OnMenuOpening(encoding, &TfmView::N33Click);
    OnMenuOpening(paragraph, &TfmView::N45Click);
    connect(window, &QMenu::aboutToShow, this, &TfmView::FillMenu);
}

void TfmView::BuildPopupMenus()
{
    constexpr bool Later = false;
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    AddItem(PopupMenu1, "N1", tr("Select all (Ctrl-A)"));
    AddItem(PopupMenu1, "N4", tr("Paste as plain text (Ctrl-V)"));
    AddItem(PopupMenu1, "N7", tr("Paste as object (Ctrl-Alt-V)"), {}, Later);
    AddItem(PopupMenu1, "N2", tr("Copy (Ctrl-C)"));
    AddItem(PopupMenu1, "N3", tr("Cut (Ctrl-X)"));
    AddItem(PopupMenu1, "mpDelStr", tr("Delete of line (Ctrl-Y)"), {}, Later);
    PopupMenu1->addSeparator();
    AddItem(PopupMenu1, "insob1", tr("Insert new object (Ctrl-I)"), {}, Later);
    PopupMenu1->addSeparator();
    AddItem(PopupMenu1, "mpUpp", tr("To uppercase (Alt-Plus)"), {}, Later);
    AddItem(PopupMenu1, "mpLow", tr("To lowercase (Alt-Minus)"), {}, Later);
    PopupMenu1->addSeparator();
    AddItem(PopupMenu1, "meFont", tr("Change of font (Shift-F10)"), {}, Later);
    AddItem(PopupMenu1, "CtrlF111", tr("Marking by color (Ctrl-F11)"), {}, Later);
    AddItem(PopupMenu1, "meColor", tr("Change of background color (Shift-F11)"), {}, Later);
    PopupMenu1->addSeparator();
    AddItem(PopupMenu1, "N44", tr("Screen by default"));
    for (int n = 1; n <= 5; ++n)
        AddItem(PopupMenu1, ("pmSaved" + QByteArray::number(n)).constData(), tr("Saved screen %1").arg(n), {}, Later);
    OnMenuOpening(PopupMenu1, &TfmView::PopupMenu1Popup);

    // Numbering kinds on the bullet button arrive with their command; the printer
    // list on the print button is filled each time it opens.
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
}
