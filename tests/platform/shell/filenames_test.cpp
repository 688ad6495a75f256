// SPDX-License-Identifier: GPL-3.0-or-later
// File names as bytes: every byte string survives the trip through a QString,
// valid UTF-8 reads as it always did, and the look-ups and the dialog's lossy
// names reach exactly the named file (a started program's are the shell tests').
#include "filenames.h"
#include "shell.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

// Readable failures: bytes in hex.
void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << bytes.toHex(' ').constData();
}

namespace {

using namespace platform;

QByteArray Native(const QTemporaryDir& dir, const QByteArray& name)
{
    return QFile::encodeName(dir.path()) + '/' + name;
}

void Touch(const QByteArray& path, const QByteArray& contents = {})
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ASSERT_EQ(::write(fd, contents.constData(), std::size_t(contents.size())), contents.size());
    ::close(fd);
}

TEST(FileNames, EveryByteStringComesBackExactly)
{
    const QByteArray crafted[] = {
        "plain.txt", "\xD0\xBF\xD0\xB8\xD1\x81\xD1\x8C\xD0\xBC\xD0\xBE.txt",   // UTF-8 "письмо"
        "a\xE0.rtf", "\xCF\xE8\xF1\xFC\xEC\xEE", "\xD0\xC9\xD3\xD8\xCD\xCF",   // Windows-1251, KOI8-R
        "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\xF0\x9F\x98\x80x", "\xFF\xFE",
        "\xED\xB2\x80",   // the UTF-8 form of a carried byte itself
    };
    for (const QByteArray& bytes : crafted)
        EXPECT_EQ(FileNameBytes(FileNameFromBytes(bytes)), bytes);
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        QByteArray bytes(int(random() % 12), '\0');
        for (char& c : bytes)
            c = char(1 + random() % 255);
        ASSERT_EQ(FileNameBytes(FileNameFromBytes(bytes)), bytes);
    }
}

TEST(FileNames, ValidUtf8ReadsAsTextAndOnlyForeignBytesShowAsReplacements)
{
    const QByteArray utf8 = QStringLiteral("Письмо 😀.txt").toUtf8();
    EXPECT_EQ(FileNameFromBytes(utf8), QStringLiteral("Письмо 😀.txt"));
    EXPECT_EQ(FileNameBytes(QStringLiteral("Письмо 😀.txt")), utf8);
    const QString carried = FileNameFromBytes("a\xE0\xE1.rtf");
    EXPECT_NE(carried, FileNameFromBytes("a\xE1\xE0.rtf"));
    EXPECT_EQ(DisplayFileName(carried), QStringLiteral("a\uFFFD\uFFFD.rtf"));
    EXPECT_EQ(DisplayFileName(QStringLiteral("Письмо")), QStringLiteral("Письмо"));
    EXPECT_EQ(DisplayFileName(QStringLiteral("a\rb\u0085c\u2028d\x7F")), QStringLiteral("a\\rb\\x85c\\u2028d\\x7F"));
}

TEST(FileNames, LookUpsReachTheExactFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Touch(Native(dir, "a\xE0.txt"));
    const QString exact = FileNameFromBytes(Native(dir, "a\xE0.txt"));
    EXPECT_TRUE(IsExistingFile(exact));
    EXPECT_FALSE(IsExistingFile(FileNameFromBytes(Native(dir, "a\xE1.txt"))));
    EXPECT_FALSE(IsExistingFile(FileNameFromBytes(QFile::encodeName(dir.path()))));

    // A bare name on the command line is found in the current folder.
    const QString saved = QDir::currentPath();
    ASSERT_EQ(::chdir(QFile::encodeName(dir.path()).constData()), 0);
    EXPECT_EQ(FileNameBytes(FindFileOnPath(FileNameFromBytes("a\xE0.txt"))), Native(dir, "a\xE0.txt"));
    EXPECT_EQ(FileNameBytes(CurrentFolder()), QFile::encodeName(QDir(dir.path()).canonicalPath()));
    QDir::setCurrent(saved);
}

TEST(FileNames, ADialogsLossyNameIsTakenOnlyWhenOneFileFitsIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Touch(Native(dir, "one\xE0.txt"));
    Touch(Native(dir, "two\xE0.txt"));
    Touch(Native(dir, "two\xE1.txt"));
    ASSERT_EQ(::mkdir(Native(dir, "\xCF\xE0\xEF\xEA\xE0").constData(), 0755), 0);   // "Папка"
    Touch(Native(dir, "\xCF\xE0\xEF\xEA\xE0/in\xE2.txt"));
    auto dialog = [&](const QByteArray& name) { return QFile::decodeName(Native(dir, name)); };

    EXPECT_EQ(ExactDialogFileName(dir.filePath(QStringLiteral("plain.txt"))), dir.filePath(QStringLiteral("plain.txt")));
    ASSERT_TRUE(ExactDialogFileName(dialog("one\xE0.txt")));
    EXPECT_EQ(FileNameBytes(*ExactDialogFileName(dialog("one\xE0.txt"))), Native(dir, "one\xE0.txt"));
    ASSERT_TRUE(ExactDialogFileName(dialog("\xCF\xE0\xEF\xEA\xE0/in\xE2.txt")));
    EXPECT_EQ(FileNameBytes(*ExactDialogFileName(dialog("\xCF\xE0\xEF\xEA\xE0/in\xE2.txt"))),
              Native(dir, "\xCF\xE0\xEF\xEA\xE0/in\xE2.txt"));
    // Two files read the same in the dialog, or none does: no guess.
    EXPECT_FALSE(ExactDialogFileName(dialog("two\xE0.txt")));
    EXPECT_FALSE(ExactDialogFileName(dialog("new\xE0.txt")));
}

} // namespace
