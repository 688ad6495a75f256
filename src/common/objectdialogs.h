// SPDX-License-Identifier: GPL-3.0-or-later
// The Insert Object and Object Properties dialogs the Qt prompter shows.
#pragma once

#include "objectprompts.h"

#include <QCoreApplication>
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QStackedWidget;

class TInsertObjectDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TInsertObjectDialog)
public:
    TInsertObjectDialog(const InsertObjectRequest& request, QWidget* parent = nullptr);
    InsertObjectAnswer Answer() const;

private:
    void ModeChanged();
    void Browse();
    void UpdateResult();
    void accept() override;

    InsertObjectRequest request;
    QRadioButton* createNew = nullptr;
    QRadioButton* createFromFile = nullptr;
    QStackedWidget* pages = nullptr;
    QListWidget* kinds = nullptr;
    QLineEdit* fileName = nullptr;
    QCheckBox* link = nullptr;
    QCheckBox* asIcon = nullptr;
    QLabel* result = nullptr;
};

class TObjectPropertiesDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TObjectPropertiesDialog)
public:
    TObjectPropertiesDialog(const ObjectPropertiesRequest& request, QWidget* parent = nullptr);
    ObjectPropertiesAnswer Answer() const;

private:
    QWidget* GeneralPage();
    QWidget* ViewPage();
    QWidget* LinkPage();

    const ObjectPropertiesRequest& request;
    QRadioButton* asContent = nullptr;
    QRadioButton* asIcon = nullptr;
    QLineEdit* source = nullptr;
};
