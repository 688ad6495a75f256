// SPDX-License-Identifier: GPL-3.0-or-later
// The printing questions as Qt dialogs: Qt's page setup dialog with a printer
// choice, and the page range of a print from the preview.
#include "qtprompter.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>

namespace {

QString Text(const char* text)
{
    return QCoreApplication::translate("QtPrompter", text);
}

class PlacedPageSetupDialog : public QPageSetupDialog {
public:
    PlacedPageSetupDialog(QPrinter* printer, QWidget* owner) : QPageSetupDialog(printer, owner) {}

protected:
    void showEvent(QShowEvent* event) override
    {
        QPageSetupDialog::showEvent(event);
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (screen)
            move(ThirdDownPos(screen->geometry(), frameGeometry().size()));
    }
};

class PrintRangeDialog : public QDialog {
public:
    PrintRangeDialog(const PrintRangeRequest& request, QWidget* owner) : QDialog(owner), owner(owner)
    {
        setWindowTitle(Text("Print"));
        auto* grid = new QGridLayout(this);
        grid->addWidget(new QLabel(Text("Printer:") + QLatin1Char(' ') + request.printer), 0, 0, 1, 5);
        all = new QRadioButton(Text("All pages"));
        pages = new QRadioButton(Text("Pages"));
        auto* group = new QButtonGroup(this);
        group->addButton(all);
        group->addButton(pages);
        from = new QSpinBox;
        to = new QSpinBox;
        for (QSpinBox* box : {from, to})
            box->setRange(request.minPage, request.maxPage);
        from->setValue(request.fromPage);
        to->setValue(request.toPage);
        all->setChecked(true);
        grid->addWidget(all, 1, 0, 1, 5);
        grid->addWidget(pages, 2, 0);
        grid->addWidget(new QLabel(Text("from")), 2, 1);
        grid->addWidget(from, 2, 2);
        grid->addWidget(new QLabel(Text("to")), 2, 3);
        grid->addWidget(to, 2, 4);
        for (QSpinBox* box : {from, to})
            connect(box, &QSpinBox::valueChanged, this, [this] { pages->setChecked(true); });
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        grid->addWidget(buttons, 3, 0, 1, 5);
    }

    PrintRangeAnswer Answer() const
    {
        PrintRangeAnswer answer;
        answer.range = pages->isChecked() ? PrintRange::PageRange : PrintRange::AllPages;
        answer.fromPage = std::min(from->value(), to->value());
        answer.toPage = std::max(from->value(), to->value());
        return answer;
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QDialog::showEvent(event);
        if (owner)
            PlaceOverOwner(this, owner);
    }

private:
    QWidget* owner;
    QRadioButton* all = nullptr;
    QRadioButton* pages = nullptr;
    QSpinBox* from = nullptr;
    QSpinBox* to = nullptr;
};

} // namespace

QPoint ThirdDownPos(const QRect& screen, const QSize& box)
{
    return {screen.left() + (screen.width() - box.width()) / 2, screen.top() + (screen.height() - box.height()) / 3};
}

std::optional<PageSetupAnswer> QtPrompter::PageSetupDialog(const PageSetupRequest& request)
{
    int chosen = request.printerIndex;
    QPageLayout layout = request.layout;
    // Qt's dialog is made for one printer; choosing another one reopens it for
    // that printer with what was set so far.
    for (;;) {
        QPrinter printer(QPrinter::HighResolution);
        if (chosen == request.pdfPrinter || chosen < 0 || chosen >= request.printers.size())
            printer.setOutputFormat(QPrinter::PdfFormat);
        else
            printer.setPrinterName(request.printers[chosen]);
        printer.setPageLayout(layout);
        PlacedPageSetupDialog dialog(&printer, Owner());
        auto* row = new QWidget(&dialog);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        rowLayout->addWidget(new QLabel(Text("Printer:"), row));
        auto* printers = new QComboBox(row);
        printers->addItems(request.printers);
        printers->setCurrentIndex(chosen);
        rowLayout->addWidget(printers, 1);
        if (auto* column = qobject_cast<QBoxLayout*>(dialog.layout()))
            column->insertWidget(0, row);
        bool switching = false;
        QObject::connect(printers, &QComboBox::currentIndexChanged, &dialog, [&](int index) {
            chosen = index;
            switching = true;
            dialog.accept();
        });
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        layout = printer.pageLayout();
        if (!switching)
            return PageSetupAnswer{chosen, layout};
    }
}

std::optional<PrintRangeAnswer> QtPrompter::PrintDialog(const PrintRangeRequest& request)
{
    PrintRangeDialog dialog(request, Owner());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Answer();
}
