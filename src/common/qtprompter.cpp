// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt dialogs behind the prompter.
#include "qtprompter.h"

#include "qlconsts.h"
#include "sysbib.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {

// Qt sizes a dialog only while showing it, so the placement happens there.
template <typename Dialog>
class Centred : public Dialog {
public:
    explicit Centred(QWidget* owner) : Dialog(owner), owner(owner) {}

protected:
    void showEvent(QShowEvent* event) override
    {
        Dialog::showEvent(event);
        if (owner)
            PlaceOverOwner(this, owner);
    }

private:
    QWidget* owner;
};

QMessageBox::Icon IconOf(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Error: return QMessageBox::Critical;
    case MsgKind::Information: return QMessageBox::Information;
    case MsgKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtPrompter& StandardPrompter()
{
    static QtPrompter standard;
    return standard;
}

QStringList ToQtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p.trimmed() == u"*.*")
                p = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

void PlaceOverOwner(QWidget* box, const QWidget* owner)
{
    const QScreen* screen = owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    box->move(CenteredBoxPos(owner->frameGeometry(), box->frameGeometry().size(), screen->geometry()));
}

QWidget* QtPrompter::Owner() const
{
    return owner ? owner.data() : QApplication::activeWindow();
}

MsgButton QtPrompter::Message(MsgKind kind, const QString& caption, const QString& text, MsgButtons buttons)
{
    Centred<QMessageBox> box(Owner());
    box.setIcon(IconOf(kind));
    box.setWindowTitle(caption);
    box.setText(text);
    const std::pair<MsgButton, QMessageBox::StandardButton> standard[] = {
        {MsgButton::Ok, QMessageBox::Ok}, {MsgButton::Yes, QMessageBox::Yes},
        {MsgButton::No, QMessageBox::No}, {MsgButton::Cancel, QMessageBox::Cancel}};
    for (const auto& [ours, qt] : standard)
        if (buttons.testFlag(ours))
            box.addButton(qt);
    QPushButton* all = buttons.testFlag(MsgButton::All) ? box.addButton(Tr(QlConsts::AllButton), QMessageBox::YesRole)
                                                        : nullptr;
    if (box.buttons().isEmpty())
        box.addButton(QMessageBox::Ok);
    // Escape means the mildest answer on offer.
    for (auto qt : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok})
        if (QAbstractButton* b = box.button(qt)) {
            box.setEscapeButton(b);
            break;
        }
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        return MsgButton::None;
    if (clicked == all)
        return MsgButton::All;
    for (const auto& [ours, qt] : standard)
        if (clicked == box.button(qt))
            return ours;
    return MsgButton::None;
}

std::optional<QString> QtPrompter::InputBox(const QString& caption, const QString& prompt, const QString& value)
{
    Centred<QInputDialog> box(Owner());
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(value);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

std::optional<FileDialogAnswer> QtPrompter::RunFileDialog(const FileDialogRequest& request, bool save)
{
    Centred<QFileDialog> dialog(Owner());
    dialog.setWindowTitle(request.caption);
    dialog.setDirectory(request.directory);
    const QStringList filters = ToQtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The program asks its own question before it overwrites a file.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileDialogAnswer answer;
    answer.files = dialog.selectedFiles();
    answer.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (answer.filterIndex < 1)
        answer.filterIndex = request.filterIndex;
    return answer;
}

std::optional<FileDialogAnswer> QtPrompter::OpenFileDialog(const FileDialogRequest& request)
{
    return RunFileDialog(request, false);
}

std::optional<FileDialogAnswer> QtPrompter::SaveFileDialog(const FileDialogRequest& request)
{
    return RunFileDialog(request, true);
}

std::optional<QFont> QtPrompter::FontDialog(const QFont& initial)
{
    Centred<QFontDialog> dialog(Owner());
    dialog.setCurrentFont(initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

std::optional<QColor> QtPrompter::ColorDialog(const QColor& initial)
{
    Centred<QColorDialog> dialog(Owner());
    dialog.setCurrentColor(initial);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid())
        return std::nullopt;
    return dialog.selectedColor();
}
