// SPDX-License-Identifier: GPL-3.0-or-later
// Editing mimeapps.list keeps everything we did not mean to change.
#include "mimeapps.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

const QString Defaults = QLatin1String(DefaultApplications);
const QString Added = QLatin1String(AddedAssociations);
const QString Text = QStringLiteral("text/plain");

TEST(MimeApps, ALineIsReplacedAddedOrRemovedTheRestStaysAndOnlyHeadersCountAsEmpty)
{
    const QByteArray text =
        "# comment\n[Default Applications]\ntext/plain = a.desktop;b.desktop\nimage/png=v.desktop;\n\n"
        "[Removed Associations]\ntext/plain=x.desktop;\n";
    EXPECT_EQ(MimeAppsEntry(text, Defaults, Text),
              (QStringList{QStringLiteral("a.desktop"), QStringLiteral("b.desktop")}));
    // The same key in another group is another entry.
    EXPECT_EQ(MimeAppsEntry(text, Added, Text), QStringList{});

    const QByteArray set =
        SetMimeAppsEntry(text, Defaults, Text, {QStringLiteral("q.desktop"), QStringLiteral("a.desktop")});
    EXPECT_EQ(set, "# comment\n[Default Applications]\ntext/plain=q.desktop;a.desktop;\nimage/png=v.desktop;\n\n"
                   "[Removed Associations]\ntext/plain=x.desktop;\n");
    // A new key goes at the end of its group, before the blank line.
    const QByteArray added =
        SetMimeAppsEntry(text, Defaults, QStringLiteral("text/x-log"), {QStringLiteral("q.desktop")});
    EXPECT_TRUE(added.contains("image/png=v.desktop;\ntext/x-log=q.desktop;\n\n[Removed")) << added.toStdString();
    // A missing group is appended.
    EXPECT_TRUE(SetMimeAppsEntry(text, Added, Text, {QStringLiteral("q.desktop")})
                    .endsWith("text/plain=x.desktop;\n\n[Added Associations]\ntext/plain=q.desktop;\n"));
    EXPECT_EQ(SetMimeAppsEntry(set, Defaults, Text, {}), "# comment\n[Default Applications]\nimage/png=v.desktop;\n\n"
                                                         "[Removed Associations]\ntext/plain=x.desktop;\n");

    // Only headers and blanks count as empty.
    EXPECT_TRUE(IsEmptyMimeApps("[Default Applications]\n\n[Added Associations]\n"));
    EXPECT_TRUE(IsEmptyMimeApps(""));
    EXPECT_FALSE(IsEmptyMimeApps("# mine\n[Default Applications]\n"));
    EXPECT_FALSE(IsEmptyMimeApps("[Default Applications]\ntext/plain=a.desktop;\n"));
}

} // namespace
