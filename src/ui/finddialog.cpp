// SPDX-License-Identifier: GPL-3.0-or-later
// The modeless Find and Replace dialogs.
#include "finddialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFindDialog::TFindDialog(TKind kind, QWidget* parent) : QDialog(parent), kind(kind)
{
    const bool replace = kind == TKind::Replace;
    setObjectName(replace ? QStringLiteral("ReplaceDialog1") : QStringLiteral("FindDialog1"));
    setWindowTitle(replace ? tr("Replace") : tr("Find"));
    setModal(false);
    // A tool window of the main one: it stays above it and leaves the taskbar alone.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* fields = new QGridLayout;
    findEdit = new QLineEdit(this);
    findEdit->setObjectName(QStringLiteral("findEdit"));
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(findEdit);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(findEdit, 0, 1);
    if (replace) {
        replaceEdit = new QLineEdit(this);
        replaceEdit->setObjectName(QStringLiteral("replaceEdit"));
        auto* replaceLabel = new QLabel(tr("Re&place with:"), this);
        replaceLabel->setBuddy(replaceEdit);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(replaceEdit, 1, 1);
    }

    wholeWordBox = new QCheckBox(tr("Match &whole word only"), this);
    matchCaseBox = new QCheckBox(tr("Match &case"), this);
    upButton = new QRadioButton(tr("&Up"), this);
    downButton = new QRadioButton(tr("&Down"), this);
    downButton->setChecked(true);
    auto* options = new QHBoxLayout;
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(wholeWordBox);
    boxes->addWidget(matchCaseBox);
    boxes->addStretch();
    options->addLayout(boxes);
    // The replace dialog always searches down, as its commands do.
    if (!replace) {
        auto* direction = new QGroupBox(tr("Direction"), this);
        auto* directionRow = new QHBoxLayout(direction);
        directionRow->addWidget(upButton);
        directionRow->addWidget(downButton);
        options->addWidget(direction);
    } else {
        upButton->hide();
        downButton->hide();
    }

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    left->addStretch();

    findNextButton = new QPushButton(tr("&Find Next"), this);
    findNextButton->setDefault(true);
    cancelButton = new QPushButton(tr("Cancel"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNextButton);
    if (replace) {
        replaceButton = new QPushButton(tr("&Replace"), this);
        replaceAllButton = new QPushButton(tr("Replace &All"), this);
        buttons->addWidget(replaceButton);
        buttons->addWidget(replaceAllButton);
        connect(replaceButton, &QPushButton::clicked, this, [this] { emit Replace(false); });
        connect(replaceAllButton, &QPushButton::clicked, this, [this] { emit Replace(true); });
    }
    buttons->addWidget(cancelButton);
    buttons->addStretch();

    auto* row = new QHBoxLayout(this);
    row->addLayout(left, 1);
    row->addLayout(buttons);

    connect(findNextButton, &QPushButton::clicked, this, [this] { emit Find(); });
    connect(cancelButton, &QPushButton::clicked, this, &TFindDialog::CloseDialog);
    connect(findEdit, &QLineEdit::textChanged, this, &TFindDialog::UpdateButtons);
    UpdateButtons();
}

QString TFindDialog::FindText() const
{
    return findEdit->text();
}

void TFindDialog::SetFindText(const QString& text)
{
    findEdit->setText(text);
}

QString TFindDialog::ReplaceText() const
{
    return replaceEdit ? replaceEdit->text() : QString();
}

void TFindDialog::SetReplaceText(const QString& text)
{
    if (replaceEdit)
        replaceEdit->setText(text);
}

bool TFindDialog::Down() const
{
    return downButton->isChecked();
}

void TFindDialog::SetDown(bool down)
{
    (down ? downButton : upButton)->setChecked(true);
}

bool TFindDialog::MatchCase() const
{
    return matchCaseBox->isChecked();
}

void TFindDialog::SetMatchCase(bool on)
{
    matchCaseBox->setChecked(on);
}

bool TFindDialog::WholeWord() const
{
    return wholeWordBox->isChecked();
}

void TFindDialog::SetWholeWord(bool on)
{
    wholeWordBox->setChecked(on);
}

void TFindDialog::Execute()
{
    show();
    raise();
    activateWindow();
    findEdit->setFocus();
    findEdit->selectAll();
}

void TFindDialog::CloseDialog()
{
    if (isVisible())
        hide();
}

void TFindDialog::UpdateButtons()
{
    // Nothing to look for: the buttons that would look cannot be pressed.
    const bool any = !findEdit->text().isEmpty();
    findNextButton->setEnabled(any);
    if (replaceButton) {
        replaceButton->setEnabled(any);
        replaceAllButton->setEnabled(any);
    }
}

void TFindDialog::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_F3 || event->key() == Qt::Key_F4) && event->modifiers() == Qt::NoModifier) {
        emit FunctionKey(event->key());
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFindDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        emit Closed();
}
