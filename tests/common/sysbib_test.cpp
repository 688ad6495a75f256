// SPDX-License-Identifier: GPL-3.0-or-later
// File and path helpers and the placement rule of the message boxes.
#include "sysbib.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char* path;
    const char* dir;
    const char* name;
    const char* ext;
};

TEST(SysbibTest, PathsSplitChangeAndExpandAndOnlyFilesExist)
{
    const PathCase cases[] = {
        {"/home/u/текст.txt", "/home/u", "текст.txt", ".txt"},
        {"/home/u.d/readme", "/home/u.d", "readme", ""},
        {"/home/u/.profile", "/home/u", ".profile", ""},
        {"/home/u/archive.tar.gz", "/home/u", "archive.tar.gz", ".gz"},
        {"/file.rtf", "/", "file.rtf", ".rtf"},
        {"bare.doc", "", "bare.doc", ".doc"},
        {"/home/u/name with spaces.", "/home/u", "name with spaces.", "."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(ExtractFileDir(path), QString::fromUtf8(c.dir));
        EXPECT_EQ(ExtractFileName(path), QString::fromUtf8(c.name));
        EXPECT_EQ(ExtractFileExt(path), QString::fromUtf8(c.ext));
    }
    EXPECT_EQ(ChangeFileExt("/a.b/text.txt", ".rtf"), "/a.b/text.rtf");
    EXPECT_EQ(ChangeFileExt("/a.b/text", ".rtf"), "/a.b/text.rtf");
    EXPECT_EQ(ChangeFileExt("/a/.hidden", ".rtf"), "/a/.hidden.rtf");
    EXPECT_EQ(ExpandFileName("sub/../x.txt"), QDir(QDir::currentPath()).filePath("x.txt"));

    QTemporaryDir dir;   // only a file is a file
    QFile file(dir.filePath("f"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(FileExists(dir.filePath("f")));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(dir.filePath("none")));
    EXPECT_FALSE(FileExists(QString()));
}

struct PlaceCase {
    const char* label;
    QRect owner;
    QSize box;
    QPoint expected;
};

TEST(SysbibTest, BoxesAreCentredOverTheOwnerAndKeptOnScreen)
{
    const QRect screen(0, 0, 1024, 768);
    const PlaceCase cases[] = {
        {"even halves", QRect(100, 100, 600, 400), QSize(200, 100), QPoint(300, 250)},
        // 5 / 2 = 2.5 rounds to 2, 7 / 2 = 3.5 rounds to 4: ties go to the even neighbour
        {"ties to even", QRect(100, 100, 205, 107), QSize(200, 100), QPoint(102, 104)},
        {"box wider than owner", QRect(100, 100, 100, 50), QSize(300, 150), QPoint(0, 50)},
        {"owner off the right and bottom", QRect(900, 700, 400, 300), QSize(200, 100), QPoint(823, 667)},
        {"owner off the left and top", QRect(-500, -400, 300, 200), QSize(200, 100), QPoint(0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(CenteredBoxPos(c.owner, c.box, screen), c.expected);
    }
    // On a second screen the box stays within that screen.
    EXPECT_EQ(CenteredBoxPos(QRect(1024, 0, 100, 100), QSize(300, 100), QRect(1024, 0, 800, 600)), QPoint(1024, 0));
}

} // namespace
