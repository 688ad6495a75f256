// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as a Windows and as an enhanced metafile,
// through the record checks and, when they pass, the converting libraries.
#include "metafilecheck.h"
#include "metafilerender.h"

#include <QByteArray>
#include <QGuiApplication>

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
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The first byte picks the kind, so that one corpus serves both.
    const bool wmf = size > 0 && (data[0] & 1);
    const QByteArray metafile = bytes.mid(1);
    platform::MetafileFrame frame;
    if (wmf)
        platform::CheckWmf(metafile, &frame);
    else
        platform::CheckEmf(metafile, &frame);
    // In this process, not a child, so that what the libraries do wrong is seen.
    platform::MetafileSvg(wmf ? platform::PictureKind::Wmf : platform::PictureKind::Emf, metafile);
    return 0;
}
