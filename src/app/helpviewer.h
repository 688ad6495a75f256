// SPDX-License-Identifier: GPL-3.0-or-later
// THelpViewer: the small window that shows the help file "Quillpad.hlp" (HTML) at a
// help context: the anchor "context" followed by the context's number.
#pragma once

#include <QWidget>

class QTextBrowser;

// Help contexts of the windows, menus and dialogs.
namespace HelpContext {
inline constexpr int Window = 10;
inline constexpr int About = 25;
inline constexpr int FileMenu = 60;
inline constexpr int Encoding = 70;
inline constexpr int EditMenu = 80;
inline constexpr int Bookmarks = 90;
inline constexpr int SearchMenu = 100;
inline constexpr int Paragraph = 110;
inline constexpr int Options = 120;
inline constexpr int Printing = 130;
} // namespace HelpContext

// The property a widget, menu or menu item carries its help context in.
inline constexpr const char* HelpContextProperty = "helpContext";

class THelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit THelpViewer(QWidget* parent = nullptr);

    // Shows the window at the context's place and brings it forward.
    void ShowContext(int context);
    int Context() const { return context; }
    QTextBrowser* Browser() const { return browser; }

private:
    void LinkClicked(const QUrl& url);

    QTextBrowser* browser = nullptr;
    int context = 0;
};

// The help file's address: the first "Quillpad.hlp" of DataFolders, else the copy
// built into the program.
QUrl HelpFileUrl();
