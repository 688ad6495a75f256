// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes read as RTF into a document (whole and into
// a selection), then written back and read again.
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray rtf("{\\rtf1", 6);
    rtf.append(reinterpret_cast<const char*>(data), qsizetype(size));

    QTextDocument document;
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    platform::ReadRtf(rtf, cursor);

    // Into the middle of a selection of existing text, as a paste does.
    QTextDocument target;
    target.setPlainText(QStringLiteral(u"начало\nконец"));
    QTextCursor selection(&target);
    selection.setPosition(3);
    selection.setPosition(9, QTextCursor::KeepAnchor);
    platform::ReadRtf(rtf, selection);

    const QByteArray written = platform::WriteRtf(document);
    QTextDocument again;
    QTextCursor againCursor(&again);
    platform::ReadRtf(written, againCursor);
    return 0;
}
