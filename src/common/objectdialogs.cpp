// SPDX-License-Identifier: GPL-3.0-or-later
// The object dialogs: Insert Object (create new or from a file, embedded or
// linked, as content or as an icon) and the object's properties sheet.
#include "objectdialogs.h"

#include "filenames.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

TInsertObjectDialog::TInsertObjectDialog(const InsertObjectRequest& request, QWidget* parent)
    : QDialog(parent), request(request)
{
    setObjectName(QStringLiteral("InsertObjectDialog"));
    setWindowTitle(tr("Insert Object"));
    createNew = new QRadioButton(tr("Create &New"));
    createNew->setObjectName(QStringLiteral("rbCreateNew"));
    createFromFile = new QRadioButton(tr("Create from &File"));
    createFromFile->setObjectName(QStringLiteral("rbCreateFromFile"));
    createNew->setChecked(true);

    kinds = new QListWidget;
    kinds->setObjectName(QStringLiteral("lbObjectType"));
    kinds->addItems(request.newKinds);
    kinds->setCurrentRow(0);
    auto* newPage = new QWidget;
    auto* newLayout = new QVBoxLayout(newPage);
    newLayout->setContentsMargins(0, 0, 0, 0);
    auto* kindsLabel = new QLabel(tr("Object &Type:"));
    kindsLabel->setBuddy(kinds);
    newLayout->addWidget(kindsLabel);
    newLayout->addWidget(kinds);

    fileName = new QLineEdit;
    fileName->setObjectName(QStringLiteral("edFile"));
    auto* browse = new QPushButton(tr("&Browse..."));
    browse->setObjectName(QStringLiteral("bbBrowse"));
    link = new QCheckBox(tr("&Link"));
    link->setObjectName(QStringLiteral("chLink"));
    auto* filePage = new QWidget;
    auto* fileLayout = new QVBoxLayout(filePage);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    auto* fileLabel = new QLabel(tr("Fil&e:"));
    fileLabel->setBuddy(fileName);
    fileLayout->addWidget(fileLabel);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName, 1);
    fileRow->addWidget(browse);
    fileLayout->addLayout(fileRow);
    fileLayout->addWidget(link);
    fileLayout->addStretch(1);

    pages = new QStackedWidget;
    pages->addWidget(newPage);
    pages->addWidget(filePage);

    asIcon = new QCheckBox(tr("&Display As Icon"));
    asIcon->setObjectName(QStringLiteral("chAsIcon"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));

    auto* modes = new QVBoxLayout;
    modes->addWidget(createNew);
    modes->addWidget(createFromFile);
    modes->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(buttons);
    right->addStretch(1);
    right->addWidget(asIcon);
    auto* top = new QHBoxLayout;
    top->addLayout(modes);
    top->addWidget(pages, 1);
    top->addLayout(right);

    result = new QLabel;
    result->setWordWrap(true);
    result->setMinimumHeight(48);
    auto* resultBox = new QGroupBox(tr("Result"));
    auto* resultLayout = new QVBoxLayout(resultBox);
    resultLayout->addWidget(result);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(resultBox);
    resize(520, 300);

    connect(createNew, &QRadioButton::toggled, this, &TInsertObjectDialog::ModeChanged);
    connect(link, &QCheckBox::toggled, this, &TInsertObjectDialog::UpdateResult);
    connect(asIcon, &QCheckBox::toggled, this, &TInsertObjectDialog::UpdateResult);
    connect(kinds, &QListWidget::currentRowChanged, this, &TInsertObjectDialog::UpdateResult);
    connect(browse, &QPushButton::clicked, this, &TInsertObjectDialog::Browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &TInsertObjectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TInsertObjectDialog::reject);
    ModeChanged();
}

void TInsertObjectDialog::ModeChanged()
{
    pages->setCurrentIndex(createNew->isChecked() ? 0 : 1);
    // Choosing a way by its key leads straight to what it asks for next.
    if (isVisible()) {
        if (createNew->isChecked())
            kinds->setFocus();
        else
            fileName->setFocus();
    }
    UpdateResult();
}

void TInsertObjectDialog::UpdateResult()
{
    QString text;
    if (createNew->isChecked())
        text = tr("Inserts a new object into your document and opens it in the program the desktop uses for it.");
    else if (link->isChecked())
        text = tr("Inserts a picture of the file into your document. The picture is linked to the file, so that "
                  "changes to the file are shown in your document.");
    else
        text = tr("Inserts the contents of the file as an object into your document, so that you may open it "
                  "with the program the desktop uses for it.");
    if (asIcon->isChecked())
        text += u' ' + tr("It will be displayed as an icon.");
    result->setText(text);
}

void TInsertObjectDialog::Browse()
{
    const QString chosen = QFileDialog::getOpenFileName(this, tr("Browse"), request.directory);
    if (chosen.isEmpty())
        return;
    fileName->setText(platform::ExactDialogFileName(chosen).value_or(chosen));
    createFromFile->setChecked(true);
}

void TInsertObjectDialog::accept()
{
    if (createFromFile->isChecked() && fileName->text().trimmed().isEmpty()) {
        fileName->setFocus();
        return;
    }
    QDialog::accept();
}

InsertObjectAnswer TInsertObjectDialog::Answer() const
{
    InsertObjectAnswer answer;
    answer.createNew = createNew->isChecked();
    answer.newKind = std::max(0, kinds->currentRow());
    answer.fileName = fileName->text().trimmed();
    answer.link = link->isChecked();
    answer.asIcon = asIcon->isChecked();
    return answer;
}

TObjectPropertiesDialog::TObjectPropertiesDialog(const ObjectPropertiesRequest& request, QWidget* parent)
    : QDialog(parent), request(request)
{
    setObjectName(QStringLiteral("ObjectPropertiesDialog"));
    setWindowTitle(request.caption);
    auto* tabs = new QTabWidget;
    tabs->addTab(GeneralPage(), tr("General"));
    tabs->addTab(ViewPage(), tr("View"));
    if (request.isLink)
        tabs->addTab(LinkPage(), tr("Link"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addWidget(buttons);
    resize(440, 360);
}

QWidget* TObjectPropertiesDialog::GeneralPage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    auto* name = new QLabel(request.name);
    name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(tr("Name:"), name);
    form->addRow(tr("Type:"), new QLabel(request.typeName));
    form->addRow(tr("Size:"), new QLabel(request.size));
    auto* location = new QLabel(request.location);
    location->setWordWrap(true);
    location->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(tr("Location:"), location);
    return page;
}

QWidget* TObjectPropertiesDialog::ViewPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    asContent = new QRadioButton(tr("Display as &editable information"));
    asContent->setObjectName(QStringLiteral("rbContent"));
    asIcon = new QRadioButton(tr("Display as &icon"));
    asIcon->setObjectName(QStringLiteral("rbIcon"));
    asContent->setEnabled(request.canShowContent);
    (request.asIcon || !request.canShowContent ? asIcon : asContent)->setChecked(true);
    auto* choices = new QVBoxLayout;
    choices->addWidget(asContent);
    choices->addWidget(asIcon);
    choices->addStretch(1);
    auto* preview = new QLabel;
    const QImage picture = request.picture.width() > 160 || request.picture.height() > 160
                               ? request.picture.scaled(160, 160, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                               : request.picture;
    preview->setPixmap(QPixmap::fromImage(picture));
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    preview->setMinimumSize(170, 170);
    layout->addLayout(choices, 1);
    layout->addWidget(preview);
    return page;
}

QWidget* TObjectPropertiesDialog::LinkPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("Link source:")));
    source = new QLineEdit(request.source);
    source->setObjectName(QStringLiteral("edSource"));
    layout->addWidget(source);
    auto* buttons = new QHBoxLayout;
    auto add = [&](const QString& caption, const char* name, auto action) {
        auto* button = new QPushButton(caption);
        button->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, action);
    };
    add(tr("&Open Source"), "bbOpenSource", [this] {
        if (request.openSource)
            request.openSource();
    });
    add(tr("&Update Now"), "bbUpdateNow", [this] {
        if (request.updateNow)
            request.updateNow();
    });
    add(tr("&Change Source"), "bbChangeSource", [this] {
        if (request.changeSource && !request.changeSource(source->text()))
            source->setFocus();
    });
    add(tr("&Break Link"), "bbBreakLink", [this] {
        if (request.breakLink)
            request.breakLink();
    });
    layout->addLayout(buttons);
    layout->addStretch(1);
    return page;
}

ObjectPropertiesAnswer TObjectPropertiesDialog::Answer() const
{
    ObjectPropertiesAnswer answer;
    answer.asIcon = asIcon->isChecked();
    return answer;
}
