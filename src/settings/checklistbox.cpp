// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the extension list.
#include "checklistbox.h"

#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

const QColor Lime(0, 255, 0);
const QColor Red(255, 0, 0);  // the classic colour value 255

class CheckListDelegate : public QStyledItemDelegate {
public:
    explicit CheckListDelegate(TCheckListBox* list) : QStyledItemDelegate(list), list(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), TCheckListBox::RowHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        const bool selected = opt.state & QStyle::State_Selected;
        painter->fillRect(opt.rect, selected ? opt.palette.highlight() : opt.palette.button());

        QStyleOptionViewItem check = opt;
        check.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, opt.widget);
        check.state = (check.state & ~QStyle::State_HasFocus)
                      | (index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, opt.widget);

        QRect text = opt.rect;
        text.setLeft(check.rect.right() + 4);
        painter->save();
        painter->setFont(list->font());
        painter->setPen(list->IsChanged(index.row()) ? Red : Lime);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
        painter->restore();
        if (opt.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(opt);
            focus.rect = opt.rect;
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, opt.widget);
        }
    }

private:
    TCheckListBox* list;
};

} // namespace

TCheckListBox::TCheckListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new CheckListDelegate(this));
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(15);
    font.setBold(true);
    setFont(font);
    setUniformItemSizes(true);
    // The list is drawn on the button colour, as the form gives it.
    QPalette p = palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    setPalette(p);
}

bool TCheckListBox::Checked(int row) const
{
    const QListWidgetItem* it = item(row);
    return it && it->checkState() == Qt::Checked;
}

void TCheckListBox::SetChecked(int row, bool on)
{
    if (QListWidgetItem* it = item(row))
        it->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}
