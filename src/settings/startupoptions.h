// SPDX-License-Identifier: GPL-3.0-or-later
// The Options key as the main window reads it at start-up, with the defaults and
// range checks of each value, and the writer of the window bounds.
#pragma once

#include <QRect>
#include <QString>

#include <optional>

// The longest pause, in seconds, the recovery journal may wait for.
inline constexpr int MaxJournalDelay = 60;

enum class StartWindowMode { FullScreen, Maximized, Normal };

struct StartupOptions {
    // False when the key could not be opened: the window takes its built-in defaults.
    bool keyFound = false;

    std::optional<int> color; // editor background, a stored colour value
    std::optional<QString> fontName;
    std::optional<int> fontSize;
    std::optional<int> charset;
    std::optional<int> fontColor;
    std::optional<QString> fontStyle; // "BIU" as three characters '1' or '0'

    int rusCode = 1;                  // a TEnc ordinal; Win when absent or out of range
    int indent = 0;                   // side-margin step 0..13
    bool readOnly = false;
    bool allEncodingButtons = true;   // false: run the "All buttons" toggle once
    bool paragraphButtons = true;
    std::optional<int> parNum;        // present only when 0..8
    std::optional<int> underLine;     // present only when 0..6
    std::optional<bool> wrap;         // absent: the editor keeps its setting
    std::optional<bool> ole;
    std::optional<bool> autoUrl;
    bool exceptMac = true;
    std::optional<int> top, left, width, height;
    StartWindowMode window = StartWindowMode::Maximized;
    int dosAdd = 2;                   // a TDosAdd ordinal; daUNI when absent or out of range
    bool autoEncoding = true;
    bool journal = true;              // keep a recovery journal of unsaved text
    std::optional<int> journalDelay;  // seconds, present only when 1..MaxJournalDelay
};

// Raises platform::RegistryError for a value of the wrong kind, and
// platform::RegistryCorruptError when the store cannot be read at all.
StartupOptions ReadStartupOptions();

// Written when the main window closes in its normal state.
void WriteWindowBounds(const QRect& bounds);
