// SPDX-License-Identifier: GPL-3.0-or-later
// When commands may run: the menu-opening rules, which a shortcut also runs at the
// moment it is pressed; keypad keys, which fire no menu shortcut; and the Paste
// button, which follows the clipboard, whoever changed it.
#include "view.h"

#include "richedit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

void TfmView::OnMenuOpening(QMenu* menu, void (TfmView::*rule)(), void (TfmView::*shortcutRule)())
{
    openingRules.emplace_back(menu, shortcutRule ? shortcutRule : rule);
    connect(menu, &QMenu::aboutToShow, this, rule);
}

bool TfmView::PrepareShortcut(QKeyEvent* event)
{
    // Every menu shortcut is bound to a key of the main keyboard; the keypad's
    // keys are keys of their own (Ctrl with a keypad digit reinterprets nothing),
    // though Qt would take a keypad digit for the digit above the letters.
    if (event->modifiers() & Qt::KeypadModifier) {
        event->accept();
        return true;
    }
    // A rule last ran when its menu last opened; what it decided then may be stale
    // now. The menu's rule decides again, so that the item's shortcut fires exactly
    // when the item could be chosen from the menu.
    const QKeySequence pressed(event->keyCombination());
    for (const auto& [menu, rule] : openingRules) {
        const QList<QAction*> actions = menu->actions();
        const bool bound = std::any_of(actions.begin(), actions.end(),
                                       [&](const QAction* a) { return a->shortcuts().contains(pressed); });
        if (bound)
            (this->*rule)();
    }
    return false;
}

bool TfmView::event(QEvent* event)
{
    // Key events the focused control does not want come up to the window before
    // Qt looks for a shortcut.
    if (event->type() == QEvent::ShortcutOverride && PrepareShortcut(static_cast<QKeyEvent*>(event)))
        return true;
    return QMainWindow::event(event);
}

void TfmView::UpdatePasteButton()
{
    // False for a read-only text as well.
    sbPaste->setEnabled(GEditor->Window()->canPaste());
}

void TfmView::WireCommandStates()
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TfmView::UpdatePasteButton);
    // Once the settings (read-only among them) are applied at the first show.
    QTimer::singleShot(0, this, &TfmView::UpdatePasteButton);
}
