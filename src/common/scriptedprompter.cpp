// SPDX-License-Identifier: GPL-3.0-or-later
// The scripted prompter of the tests.
#include "scriptedprompter.h"

namespace {

const char* KindName(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Message: return "message";
    case PromptKind::Input: return "input box";
    case PromptKind::OpenFile: return "open dialog";
    case PromptKind::SaveFile: return "save dialog";
    case PromptKind::Font: return "font dialog";
    case PromptKind::Color: return "colour dialog";
    case PromptKind::PageSetup: return "page setup dialog";
    case PromptKind::Print: return "print dialog";
    case PromptKind::InsertObject: return "insert object dialog";
    case PromptKind::ObjectProperties: return "object properties dialog";
    case PromptKind::RecoveryList: return "recovery list";
    }
    return "question";
}

} // namespace

ScriptedPrompter& ScriptedPrompter::AnswerMessage(MsgButton button)
{
    answers.push_back({AnswerKind::Message, button, {}, {}, {}, {}, {}, {}});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerInput(std::optional<QString> text)
{
    answers.push_back({AnswerKind::Input, MsgButton::None, std::move(text), {}, {}, {}, {}, {}});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerFile(std::optional<FileDialogAnswer> answer)
{
    answers.push_back({AnswerKind::File, MsgButton::None, {}, std::move(answer), {}, {}, {}, {}});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerFont(std::optional<QFont> font)
{
    answers.push_back({AnswerKind::Font, MsgButton::None, {}, {}, std::move(font), {}, {}, {}});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerColor(std::optional<QColor> color)
{
    answers.push_back({AnswerKind::Color, MsgButton::None, {}, {}, {}, std::move(color), {}, {}});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerPageSetup(std::optional<PageSetupAnswer> answer)
{
    Answer a{AnswerKind::PageSetup, MsgButton::None, {}, {}, {}, {}, {}, {}};
    a.pageSetup = std::move(answer);
    answers.push_back(std::move(a));
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerPrint(std::optional<PrintRangeAnswer> answer)
{
    Answer a{AnswerKind::Print, MsgButton::None, {}, {}, {}, {}, {}, {}};
    a.print = std::move(answer);
    answers.push_back(std::move(a));
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerInsertObject(std::optional<InsertObjectAnswer> answer)
{
    insertObjectAnswers.emplace_back(answer.has_value(), answer.value_or(InsertObjectAnswer{}));
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerObjectProperties(ObjectPropertiesScript script)
{
    propertiesAnswers.push_back(std::move(script));
    return *this;
}

ScriptedPrompter& ScriptedPrompter::AnswerRecoveryList(RecoveryListScript script)
{
    recoveryAnswers.push_back(std::move(script));
    return *this;
}

void ScriptedPrompter::Clear()
{
    recoveryAnswers.clear();
    answers.clear();
    insertObjectAnswers.clear();
    propertiesAnswers.clear();
    asked.clear();
    problems.clear();
}

std::optional<ScriptedPrompter::Answer> ScriptedPrompter::Take(AnswerKind kind, const PromptRecord& record)
{
    asked.push_back(record);
    const QString what = QString::fromLatin1(KindName(record.kind)) + QStringLiteral(" \"") + record.text
        + QStringLiteral("\"");
    if (answers.empty()) {
        problems << QStringLiteral("no answer queued for the ") + what;
        return std::nullopt;
    }
    if (answers.front().kind != kind) {
        problems << QStringLiteral("the next answer does not fit the ") + what;
        return std::nullopt;
    }
    Answer a = std::move(answers.front());
    answers.pop_front();
    return a;
}

MsgButton ScriptedPrompter::Message(MsgKind kind, const QString& caption, const QString& text, MsgButtons buttons)
{
    const auto a = Take(AnswerKind::Message, {PromptKind::Message, kind, caption, text, buttons, {}, {}, {}});
    if (!a)
        return MsgButton::None;
    if (a->button != MsgButton::None && !buttons.testFlag(a->button))
        problems << QStringLiteral("answered with a button the box does not have: \"") + text + u'"';
    return a->button;
}

std::optional<QString> ScriptedPrompter::InputBox(const QString& caption, const QString& prompt, const QString&)
{
    const auto a =
        Take(AnswerKind::Input, {PromptKind::Input, MsgKind::Information, caption, prompt, {}, {}, {}, {}});
    return a ? a->text : std::nullopt;
}

std::optional<FileDialogAnswer> ScriptedPrompter::OpenFileDialog(const FileDialogRequest& request)
{
    const auto a = Take(AnswerKind::File, {PromptKind::OpenFile, MsgKind::Information, request.caption,
                                           request.fileName, {}, request, {}, {}});
    return a ? a->file : std::nullopt;
}

std::optional<FileDialogAnswer> ScriptedPrompter::SaveFileDialog(const FileDialogRequest& request)
{
    const auto a = Take(AnswerKind::File, {PromptKind::SaveFile, MsgKind::Information, request.caption,
                                           request.fileName, {}, request, {}, {}});
    return a ? a->file : std::nullopt;
}

std::optional<QFont> ScriptedPrompter::FontDialog(const QFont& initial)
{
    const auto a =
        Take(AnswerKind::Font, {PromptKind::Font, MsgKind::Information, {}, initial.family(), {}, {}, {}, {}});
    return a ? a->font : std::nullopt;
}

std::optional<QColor> ScriptedPrompter::ColorDialog(const QColor& initial)
{
    const auto a =
        Take(AnswerKind::Color, {PromptKind::Color, MsgKind::Information, {}, initial.name(), {}, {}, {}, {}});
    return a ? a->color : std::nullopt;
}

std::optional<PageSetupAnswer> ScriptedPrompter::PageSetupDialog(const PageSetupRequest& request)
{
    PromptRecord record{PromptKind::PageSetup, MsgKind::Information, {}, {}, {}, {}, {}, {}};
    record.pageSetup = request;
    const auto a = Take(AnswerKind::PageSetup, record);
    return a ? a->pageSetup : std::nullopt;
}

std::optional<PrintRangeAnswer> ScriptedPrompter::PrintDialog(const PrintRangeRequest& request)
{
    PromptRecord record{PromptKind::Print, MsgKind::Information, {}, request.printer, {}, {}, {}, {}};
    record.print = request;
    const auto a = Take(AnswerKind::Print, record);
    return a ? a->print : std::nullopt;
}

std::optional<InsertObjectAnswer> ScriptedPrompter::InsertObjectDialog(const InsertObjectRequest& request)
{
    PromptRecord record;
    record.kind = PromptKind::InsertObject;
    record.text = request.newKinds.join(u'|');
    asked.push_back(record);
    if (insertObjectAnswers.empty()) {
        problems << QStringLiteral("no answer queued for the insert object dialog");
        return std::nullopt;
    }
    const auto [given, answer] = insertObjectAnswers.front();
    insertObjectAnswers.pop_front();
    if (!given)
        return std::nullopt;
    return answer;
}

std::optional<ObjectPropertiesAnswer> ScriptedPrompter::ObjectPropertiesDialog(const ObjectPropertiesRequest& request)
{
    PromptRecord record;
    record.kind = PromptKind::ObjectProperties;
    record.caption = request.caption;
    record.text = request.typeName;
    asked.push_back(record);
    lastProperties = request;
    if (propertiesAnswers.empty()) {
        problems << QStringLiteral("no answer queued for the object properties dialog \"") + request.caption + u'"';
        return std::nullopt;
    }
    ObjectPropertiesScript script = std::move(propertiesAnswers.front());
    propertiesAnswers.pop_front();
    for (const LinkPress& press : script.presses) {
        switch (press.button) {
        case LinkButton::ChangeSource:
            if (request.changeSource)
                request.changeSource(press.source);
            break;
        case LinkButton::BreakLink:
            if (request.breakLink)
                request.breakLink();
            break;
        case LinkButton::OpenSource:
            if (request.openSource)
                request.openSource();
            break;
        case LinkButton::UpdateNow:
            if (request.updateNow)
                request.updateNow();
            break;
        }
    }
    return script.answer;
}

std::optional<RecoveryListAnswer> ScriptedPrompter::RecoveryListDialog(const RecoveryListRequest& request)
{
    PromptRecord record;
    record.kind = PromptKind::RecoveryList;
    QStringList names;
    for (const RecoveryListEntry& entry : request.entries)
        names << entry.name;
    record.text = names.join(u'|');
    asked.push_back(record);
    lastRecoveryList = request.entries;
    if (recoveryAnswers.empty()) {
        problems << QStringLiteral("no answer queued for the recovery list \"") + record.text + u'"';
        return std::nullopt;
    }
    RecoveryListScript script = std::move(recoveryAnswers.front());
    recoveryAnswers.pop_front();
    // The list as the window would show it after each discard: indexes into what
    // is shown, answered as indexes into what was asked.
    std::vector<int> shown(request.entries.size());
    for (std::size_t i = 0; i < shown.size(); ++i)
        shown[i] = int(i);
    for (const int index : script.discards) {
        if (index < 0 || index >= int(shown.size())) {
            problems << QStringLiteral("discarded an entry the recovery list does not have");
            return std::nullopt;
        }
        if (request.discard && request.discard(shown[index]))
            shown.erase(shown.begin() + index);
    }
    if (!script.recover)
        return std::nullopt;
    if (*script.recover < 0 || *script.recover >= int(shown.size())) {
        problems << QStringLiteral("recovered an entry the recovery list does not have");
        return std::nullopt;
    }
    return RecoveryListAnswer{shown[*script.recover]};
}
