// SPDX-License-Identifier: GPL-3.0-or-later
// The export line-end filter on its own: byte and UTF-16 files, block edges,
// permissions, and failure leaving the file as it was.
#include "linefilter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QByteArray Filter(const QByteArray& bytes, char16_t drop, FilterUnit unit, bool* ok = nullptr)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("f.txt"));
    QFile f(name);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    const bool result = FilterLineEnds(name, drop, unit);
    if (ok)
        *ok = result;
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(FilterLineEnds, DropsTheChosenByteAcrossBlockEdgesOrTheChosenUtf16Unit)
{
    QByteArray text;
    for (int i = 0; i < 300; ++i)
        text += "ab\r\n";
    const QByteArray unix = Filter(text, u'\r', FilterUnit::Byte);
    EXPECT_EQ(unix.size(), 900);
    EXPECT_FALSE(unix.contains('\r'));
    const QByteArray mac = Filter(text, u'\n', FilterUnit::Byte);
    EXPECT_FALSE(mac.contains('\n'));
    EXPECT_EQ(mac.count('\r'), 300);

    // UTF-16 by whole units in either order: 'a' CR LF U+0D0A: the last unit holds both bytes but is no line end.
    EXPECT_EQ(Filter(QByteArray::fromHex("61000d000a000a0d"), u'\r', FilterUnit::Utf16Little),
              QByteArray::fromHex("61000a000a0d"));
    EXPECT_EQ(Filter(QByteArray::fromHex("0061000d000a0d0a"), u'\n', FilterUnit::Utf16Big),
              QByteArray::fromHex("0061000d0d0a"));
    // An odd trailing byte is kept as it was.
    EXPECT_EQ(Filter(QByteArray::fromHex("0d0061"), u'\r', FilterUnit::Utf16Little), QByteArray::fromHex("61"));
}

TEST(FilterLineEnds, KeepsTheFilesPermissionsAndFailsOnAMissingFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("p.txt"));
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x\r\n");
    f.close();
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile::setPermissions(name, permissions);
    ASSERT_TRUE(FilterLineEnds(name, u'\r', FilterUnit::Byte));
    EXPECT_EQ(QFileInfo(name).permissions() & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther),
              permissions);
    EXPECT_FALSE(FilterLineEnds(dir.filePath(QStringLiteral("missing.txt")), u'\r', FilterUnit::Byte));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing.txt"))));
    // Only the target remains in the folder: no temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("p.txt")});
}

} // namespace
