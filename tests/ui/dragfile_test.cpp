// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a drop of files: the local names in the order given, whole however
// long, and nothing that would lead to another file than the one dropped.
#include "dragfile.h"
#include "filenames.h"

#include <gtest/gtest.h>

#include <QMimeData>
#include <QUrl>

namespace {

TEST(DragFile, ADropGivesOnlyItsLocalFilesInOrderAndWhere)
{
    QMimeData data;
    const QString longName = QStringLiteral("/tmp/") + QString(200, u'д') + QStringLiteral("/") + QString(3000, u'x');
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/home/ann/письмо №1.txt")),
                  QUrl(QStringLiteral("https://example.org/page.txt")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/b c#d%20e.txt")), QUrl::fromLocalFile(longName),
                  QUrl(QStringLiteral("file://otherhost/share/f.txt"))});
    const std::unique_ptr<TDragDropInfo> info = ReadDrop(data, QPoint(10, 20), true);
    EXPECT_EQ(info->NumFiles, 3);
    EXPECT_EQ(info->Files, (QStringList{QStringLiteral("/home/ann/письмо №1.txt"), QStringLiteral("/tmp/b c#d%20e.txt"),
                                        longName}));
    EXPECT_TRUE(info->InClientArea);
    EXPECT_EQ(info->DropPoint, QPoint(10, 20));
    EXPECT_TRUE(CarriesFiles(&data));

    // Text and web addresses are no files.
    QMimeData text;
    text.setText(QStringLiteral("/tmp/looks like a name.txt"));
    EXPECT_FALSE(CarriesFiles(&text));
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("http://example.org/"))});
    EXPECT_FALSE(CarriesFiles(&web));
    EXPECT_FALSE(CarriesFiles(nullptr));
    EXPECT_EQ(ReadDrop(web, {}, true)->NumFiles, 0);
}

TEST(DragFile, ANameThatIsNotUtf8KeepsItsExactBytes)
{
    // "а.txt" with its letter in Windows-1251, as old archives carry it: the
    // dropped name must lead to that file and no other.
    QMimeData data;
    data.setUrls({QUrl(QStringLiteral("file:///tmp/%E0.txt")), QUrl::fromLocalFile(QStringLiteral("/tmp/ok.txt"))});
    const std::unique_ptr<TDragDropInfo> info = ReadDrop(data, {}, false);
    ASSERT_EQ(info->NumFiles, 2);
    EXPECT_EQ(platform::FileNameBytes(info->Files[0]), QByteArray("/tmp/\xe0.txt"));
    EXPECT_EQ(info->Files[1], QStringLiteral("/tmp/ok.txt"));
    EXPECT_FALSE(info->InClientArea);
}

} // namespace
