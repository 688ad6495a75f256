// SPDX-License-Identifier: GPL-3.0-or-later
// The four panels of the status bar: caret position, line count, INS/OVR and
// the owner-drawn progress bar, with their hints by pointer position.
#pragma once

#include <QString>
#include <QWidget>

class TfmView;

class TStatusPanels : public QWidget {
    Q_OBJECT
public:
    static constexpr int PanelCount = 4;
    static constexpr int Widths[PanelCount] = {140, 80, 50, 50};

    TStatusPanels(TfmView* view, QWidget* parent);

    void SetText(int panel, const QString& text);
    QString Text(int panel) const { return texts[panel]; }
    // The rectangle of a panel in this widget's coordinates.
    QRect PanelRect(int panel) const;
    QString Hint() const { return toolTip(); }
    // The hint for a pointer at x, as the status bar shows it.
    QString HintAt(int x) const;

public slots:
    // Safe to call from any thread: queues a repaint of the progress panel.
    void RepaintProgressPanel();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    QSize sizeHint() const override;

private:
    TfmView* view;
    QString texts[PanelCount];
};
