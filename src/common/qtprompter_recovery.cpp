// SPDX-License-Identifier: GPL-3.0-or-later
// The list of texts kept for recovery as a Qt dialog: the texts with their time
// and size, a preview of the selected one, and Recover, Discard and Later.
#include "qtprompter.h"

#include "qlconsts.h"
#include "qlconsts_recovery.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

class RecoveryListDialog : public QDialog {
public:
    RecoveryListDialog(const RecoveryListRequest& request, QWidget* owner) : QDialog(owner), request(request), owner(owner)
    {
        setObjectName(QStringLiteral("recoveryList"));
        setWindowTitle(Tr(QlConsts::RecoveryListCaption));
        auto* column = new QVBoxLayout(this);
        auto* intro = new QLabel(Tr(QlConsts::RecoveryListIntro));
        intro->setWordWrap(true);
        column->addWidget(intro);
        list = new QTreeWidget;
        list->setObjectName(QStringLiteral("entries"));
        list->setRootIsDecorated(false);
        list->setHeaderLabels({Tr(QlConsts::RecoveryColumnFile), Tr(QlConsts::RecoveryColumnTime),
                               Tr(QlConsts::RecoveryColumnSize)});
        for (std::size_t i = 0; i < request.entries.size(); ++i) {
            const RecoveryListEntry& entry = request.entries[i];
            auto* item = new QTreeWidgetItem(list, {entry.name, entry.time, entry.size});
            item->setData(0, Qt::UserRole, int(i));
            item->setToolTip(0, entry.name);
        }
        list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        list->header()->setStretchLastSection(false);
        list->resizeColumnToContents(1);
        list->resizeColumnToContents(2);
        column->addWidget(list, 1);
        preview = new QPlainTextEdit;
        preview->setObjectName(QStringLiteral("preview"));
        preview->setReadOnly(true);
        preview->setLineWrapMode(QPlainTextEdit::NoWrap);
        column->addWidget(preview, 1);
        auto* buttons = new QDialogButtonBox;
        recover = buttons->addButton(Tr(QlConsts::RecoveryRecover), QDialogButtonBox::AcceptRole);
        discard = buttons->addButton(Tr(QlConsts::RecoveryDiscard), QDialogButtonBox::DestructiveRole);
        QPushButton* later = buttons->addButton(Tr(QlConsts::RecoveryLater), QDialogButtonBox::RejectRole);
        recover->setObjectName(QStringLiteral("recover"));
        discard->setObjectName(QStringLiteral("discard"));
        later->setObjectName(QStringLiteral("later"));
        recover->setDefault(true);
        column->addWidget(buttons);
        connect(list, &QTreeWidget::currentItemChanged, this, [this] { ShowSelected(); });
        connect(list, &QTreeWidget::itemDoubleClicked, this, [this] { Recover(); });
        connect(recover, &QPushButton::clicked, this, [this] { Recover(); });
        connect(discard, &QPushButton::clicked, this, [this] { Discard(); });
        connect(later, &QPushButton::clicked, this, &QDialog::reject);
        list->setCurrentItem(list->topLevelItem(0));
        ShowSelected();
        resize(640, 440);
    }

    std::optional<int> Chosen() const { return chosen; }

protected:
    void showEvent(QShowEvent* event) override
    {
        QDialog::showEvent(event);
        if (owner)
            PlaceOverOwner(this, owner);
    }

private:
    int Selected() const
    {
        const QTreeWidgetItem* item = list->currentItem();
        return item ? item->data(0, Qt::UserRole).toInt() : -1;
    }

    void ShowSelected()
    {
        const int index = Selected();
        preview->setPlainText(index < 0 ? QString() : request.entries[std::size_t(index)].preview);
        recover->setEnabled(index >= 0);
        discard->setEnabled(index >= 0);
    }

    void Recover()
    {
        if (Selected() < 0)
            return;
        chosen = Selected();
        accept();
    }

    void Discard()
    {
        const int index = Selected();
        if (index < 0 || !request.discard || !request.discard(index))
            return;
        delete list->currentItem();
        if (list->topLevelItemCount() == 0) {
            reject();
            return;
        }
        ShowSelected();
    }

    const RecoveryListRequest& request;
    QWidget* owner;
    QTreeWidget* list = nullptr;
    QPlainTextEdit* preview = nullptr;
    QPushButton* recover = nullptr;
    QPushButton* discard = nullptr;
    std::optional<int> chosen;
};

} // namespace

std::optional<RecoveryListAnswer> QtPrompter::RecoveryListDialog(const RecoveryListRequest& request)
{
    if (request.entries.empty())
        return std::nullopt;
    ::RecoveryListDialog dialog(request, Owner());
    if (dialog.exec() != QDialog::Accepted || !dialog.Chosen())
        return std::nullopt;
    return RecoveryListAnswer{*dialog.Chosen()};
}
