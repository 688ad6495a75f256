// SPDX-License-Identifier: GPL-3.0-or-later
// What the settings dialog reads from the running main window and changes in it,
// in plain values, so that the dialog needs neither the window nor the editor.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

class QWidget;

// The editor's font as the Options key stores it.
struct TSetupFont {
    QString Name;
    int Size = 10;
    int Charset = 1;
    std::int32_t Color = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

class TSetupHost {
public:
    virtual ~TSetupHost() = default;

    // The window the dialog is centred over and its boxes belong to.
    virtual QWidget* Window() = 0;

    virtual TSetupFont EditorFont() const = 0;
    virtual std::int32_t EditorColor() const = 0;
    virtual bool WindowMaximized() const = 0;
    // Full screen with the main menu and the panels hidden.
    virtual bool PanelsHidden() const = 0;
    virtual int CurEncoding() const = 0;
    virtual int IndentStep() const = 0;
    // The KOI-8R button stands for the extra encoding buttons.
    virtual bool AllEncodingButtonsShown() const = 0;
    // The left-alignment button stands for the paragraph buttons.
    virtual bool ParagraphButtonsShown() const = 0;
    virtual bool WrapDown() const = 0;
    // The Numbering and Underline kind submenus: item captions without the
    // separator and "Apply", and the index of the item in use.
    virtual QStringList NumberingCaptions() const = 0;
    virtual int NumberingIndex() const = 0;
    virtual QStringList UnderlineCaptions() const = 0;
    virtual int UnderlineIndex() const = 0;

    virtual bool ReadOnly() const = 0;
    virtual bool AutoURLDetect() const = 0;
    virtual bool ExceptMac() const = 0;
    virtual bool AllowObjects() const = 0;
    virtual bool AutoEncoding() const = 0;
    virtual int DosAdd() const = 0;
    virtual bool JournalOn() const = 0;
    virtual int JournalDelayMs() const = 0;

    // The window's default font becomes a copy of the editor's.
    virtual void TakeDefaultFont() = 0;
    virtual void SetReadOnly(bool on) = 0;
    virtual void SetAutoEncoding(bool on) = 0;
    virtual void SetAutoURLDetect(bool on) = 0;
    virtual void SetExceptMac(bool on) = 0;
    virtual void SetDosAdd(int mode) = 0;
    // Off removes the window's recovery journal.
    virtual void SetJournal(bool on, int delayMs) = 0;

    // The window's page setup command.
    virtual void PageSetup() = 0;
    // Closes every window of the program, as Exit does.
    virtual void CloseAllWindows() = 0;
};
