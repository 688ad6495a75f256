// SPDX-License-Identifier: GPL-3.0-or-later
// ScriptedPrompter: answers questions from a queue a test prepares and records each
// one; an unscripted question gets the cancelling answer and is noted in Problems().
#pragma once

#include "prompter.h"

#include <deque>
#include <vector>

enum class PromptKind { Message, Input, OpenFile, SaveFile, Font, Color, PageSetup, Print, InsertObject, ObjectProperties,
                        RecoveryList };

struct PromptRecord {
    PromptKind kind = PromptKind::Message;
    MsgKind msgKind = MsgKind::Information; // for messages
    QString caption;
    QString text;              // message text or input prompt
    MsgButtons buttons;        // for messages
    FileDialogRequest request; // for file dialogs
    PageSetupRequest pageSetup; // for the page setup dialog
    PrintRangeRequest print;    // for the print dialog
};

class ScriptedPrompter : public Prompter {
public:
    // Queue answers in the order the questions will come.
    ScriptedPrompter& AnswerMessage(MsgButton button);
    ScriptedPrompter& AnswerInput(std::optional<QString> text);
    // For an open or a save dialog; nothing means cancelled.
    ScriptedPrompter& AnswerFile(std::optional<FileDialogAnswer> answer);
    ScriptedPrompter& AnswerFont(std::optional<QFont> font);
    ScriptedPrompter& AnswerColor(std::optional<QColor> color);
    ScriptedPrompter& AnswerPageSetup(std::optional<PageSetupAnswer> answer);
    ScriptedPrompter& AnswerPrint(std::optional<PrintRangeAnswer> answer);
    // The object dialogs keep queues of their own; nothing means Cancel.
    ScriptedPrompter& AnswerInsertObject(std::optional<InsertObjectAnswer> answer);
    ScriptedPrompter& AnswerObjectProperties(ObjectPropertiesScript script);
    // The recovery list keeps a queue of its own.
    ScriptedPrompter& AnswerRecoveryList(RecoveryListScript script);
    // The last recovery list shown, as it was first asked.
    const std::vector<RecoveryListEntry>& LastRecoveryList() const { return lastRecoveryList; }
    // The last properties dialog shown, as it was asked.
    const ObjectPropertiesRequest& LastObjectProperties() const { return lastProperties; }

    const std::vector<PromptRecord>& Asked() const { return asked; }
    const QStringList& Problems() const { return problems; }
    // Answers queued but never asked for.
    std::size_t Pending() const { return answers.size(); }
    void Clear();

    MsgButton Message(MsgKind kind, const QString& caption, const QString& text, MsgButtons buttons) override;
    std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& value) override;
    std::optional<FileDialogAnswer> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<FileDialogAnswer> SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<QFont> FontDialog(const QFont& initial) override;
    std::optional<QColor> ColorDialog(const QColor& initial) override;
    std::optional<PageSetupAnswer> PageSetupDialog(const PageSetupRequest& request) override;
    std::optional<PrintRangeAnswer> PrintDialog(const PrintRangeRequest& request) override;
    std::optional<InsertObjectAnswer> InsertObjectDialog(const InsertObjectRequest& request) override;
    std::optional<ObjectPropertiesAnswer> ObjectPropertiesDialog(const ObjectPropertiesRequest& request) override;
    std::optional<RecoveryListAnswer> RecoveryListDialog(const RecoveryListRequest& request) override;

private:
    enum class AnswerKind { Message, Input, File, Font, Color, PageSetup, Print };
    struct Answer {
        AnswerKind kind;
        MsgButton button = MsgButton::None;
        std::optional<QString> text;
        std::optional<FileDialogAnswer> file;
        std::optional<QFont> font;
        std::optional<QColor> color;
        std::optional<PageSetupAnswer> pageSetup;
        std::optional<PrintRangeAnswer> print;
    };

    // The next answer when it is of the expected kind; else a note and nothing.
    std::optional<Answer> Take(AnswerKind kind, const PromptRecord& record);

    std::deque<Answer> answers;
    std::deque<std::pair<bool, InsertObjectAnswer>> insertObjectAnswers;   // false: Cancel
    std::deque<ObjectPropertiesScript> propertiesAnswers;
    ObjectPropertiesRequest lastProperties;
    std::deque<RecoveryListScript> recoveryAnswers;
    std::vector<RecoveryListEntry> lastRecoveryList;
    std::vector<PromptRecord> asked;
    QStringList problems;
};
