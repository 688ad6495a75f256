// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar's contents (caret, line count, INS/OVR), the load progress from
// the editor's stream events and the ticker thread that carries it on.
#include "view.h"

#include "qlconsts.h"
#include "richedit.h"

#include "statuspanels.h"
#include "updatethread.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>

#include <cmath>

namespace {

// Milliseconds on a steady clock, the tick count of the load timing.
qint64 Now()
{
    static QElapsedTimer clock = [] { QElapsedTimer t; t.start(); return t; }();
    return clock.elapsed();
}

} // namespace

qint64 TfmView::TickNow()
{
    return Now();
}

void TfmView::StrCount()
{
    platform::RichEdit* control = GEditor->Window();
    const std::int32_t pos = control->ExGetSel().cpMin;
    if (!control->LineKnown(pos)) {
        // The wrapped lines above the caret are still being counted: the column
        // and the line's length now, the line's number as soon as it is known.
        CaretCol = pos - control->LineStartFromChar(pos) + 1;
        CaretLineLen = control->LineLength(pos);
        stbPanels->SetText(0, QStringLiteral(" [ %1  %2  %3 ]").arg(QChar(0x2026)).arg(CaretCol).arg(CaretLineLen));
        return;
    }
    const TCaretPos caret = GEditor->CaretPos();
    CaretLine = caret.Line + 1;
    CaretCol = caret.Column + 1;
    // The length alone: copying the line would copy all of a paragraph of millions.
    CaretLineLen = control->LineLength(control->LineIndex(caret.Line));
    stbPanels->SetText(0, QStringLiteral(" [ %1  %2  %3 ]").arg(CaretLine).arg(CaretCol).arg(CaretLineLen));
}

void TfmView::AllStrCount()
{
    platform::RichEdit* control = GEditor->Window();
    if (!control->LineKnown(control->GetTextLength())) {
        stbPanels->SetText(1, QStringLiteral(" %1").arg(QChar(0x2026)));
        return;
    }
    stbPanels->SetText(1, QStringLiteral(" %1").arg(GEditor->Lines()->Count()));
}

void TfmView::StbRepUpdate()
{
    stbPanels->SetText(2, GEditorOverwrite() ? Tr(QlConsts::OverwriteState) : Tr(QlConsts::InsertState));
}

bool TfmView::GEditorOverwrite() const
{
    return GEditor && GEditor->Overwrite();
}

QString TfmView::StatusText(int panel) const
{
    return stbPanels->Text(panel);
}

void TfmView::RepaintProgress()
{
    stbPanels->repaint(stbPanels->PanelRect(3));
}

void TfmView::GEditorStream(std::int64_t total, std::int64_t done)
{
    if (ticker)
        return;
    ProgressMode = 0;
    // Five twentieths at most: the streaming fills the first quarter of the bar.
    const std::uint8_t progress =
        total < 1 ? 0 : static_cast<std::uint8_t>(std::nearbyint(static_cast<double>(done) / total * 5.0));
    if (progress == Progress.load())
        return;
    Progress = progress;
    RepaintProgress();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (progress == 5)
        StartTicker();
}

void TfmView::StartTicker()
{
    const int interval = static_cast<int>(std::max<qint64>(0, Now() - LoadStartTick));
    ticker = new TUpdateThread(interval, Progress, ProgressMode, [panels = stbPanels] { panels->RepaintProgressPanel(); });
    TickerStarts++;
    ticker->start();
}

void TfmView::StopTicker()
{
    if (!ticker)
        return;
    ticker->Stop();
    delete ticker.data();
    ticker = nullptr;
}

bool TfmView::TickerRunning() const
{
    return !ticker.isNull();
}

void TfmView::GEditorResizeRequest()
{
    const std::uint8_t p = Progress.load();
    if (p >= 5 && p <= 19) {
        Progress = 99;
        ProgressMode = 1;
        RepaintProgress();
    }
}

void TfmView::EndProgress()
{
    StopTicker();
    Progress = 0;
    RepaintProgress();
}
