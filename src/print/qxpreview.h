// SPDX-License-Identifier: GPL-3.0-or-later
// TPreviewForm: the print preview. Shows the recorded pages one at a time, whole,
// to the window's width or at 100 %, pages through them and prints a range of
// them. The pages live as files in a folder of its own while it is open.
#pragma once

#include "pagemetafile.h"

#include <QDialog>
#include <QPicture>
#include <QString>

#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTemporaryDir;
class QToolButton;

namespace platform {
class Printer;
}

// The page image inside the scroll box: the page drawn at the image's size.
class TPageImage : public QWidget {
public:
    explicit TPageImage(QWidget* parent) : QWidget(parent) {}
    void SetPicture(const QImage& image);
    const QImage& Picture() const { return picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture;
};

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    explicit TPreviewForm(platform::Printer& printer, QWidget* parent = nullptr);
    ~TPreviewForm() override;

    // Set by the printer component before recording: the paper in printer pixels,
    // the vertical printer resolution, paper height over width, and the name of
    // the text (the file a PDF is offered under).
    int PagePixelWidth = 0;
    int PagePixelHeight = 0;
    int PrinterDpi = 600;
    double PageAspect = 0.0;
    QString TextName;

    // The folder of the page files, made for this window alone, and the file of
    // page i (from 0): "~t" and six digits, ".prn".
    QString TempDir() const { return tempDir; }
    QString PageFile(int index) const;
    // Stores a recorded page as the next page file. Raises EInOutError when the
    // folder or the file cannot be made.
    void SavePage(platform::PageMetafile& page);
    // Removes every page file stored (on closing, and when recording failed).
    void DeletePages();

    void FirstPageShow();
    void DrawPage();
    void ButtonsUpdate();
    void Percent();
    void PageToCenter();
    void PageToWidth();
    void PageTo100Per();
    void FormResize();

    void sbHeightClick();
    void sbWidthClick();
    void sb100Click();
    void sbNextClick();
    void sbPrevClick();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void ePageEnter();
    void sbPrintClick();

    // The shown page (from 0) and the last stored one.
    int PageIndex = 0;
    int LastPage = 0;
    int PrintFrom = 1;
    int PrintTo = 1;
    // How many page files were stored.
    int StoredPages() const { return storedPages; }
    // 1 whole page, 2 page width, 3 100 %.
    int ZoomMode = 1;

    QWidget* Panel2 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    TPageImage* Image1 = nullptr;
    QToolButton* sbPrint = nullptr;
    QToolButton* SpinButton1Up = nullptr;
    QToolButton* SpinButton1Down = nullptr;
    QToolButton* sbPrev = nullptr;
    QLineEdit* ePage = nullptr;
    QToolButton* sbNext = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QToolButton* sbHeight = nullptr;
    QToolButton* sbWidth = nullptr;
    QToolButton* sb100 = nullptr;
    QPushButton* BitBtn1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void BuildControls();
    void ResizeButtons();
    void PlaceImage(int left, int top, int width, int height);
    int BarWidth() const;
    void ShowPage(int index);
    int ScreenDpi() const;
    void PrintPages(int from, int to);

    platform::Printer& printer;
    QString tempDir;
    std::unique_ptr<QTemporaryDir> folder;
    int storedPages = 0;
    bool skipResize = true;
    bool zoomPending = false;   // the first page waits for the window's real size
    bool closed = false;
    QPicture PageMetafile;
};
