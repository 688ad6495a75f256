// SPDX-License-Identifier: GPL-3.0-or-later
// Quoting the program's path for Exec keys, key files and shell scripts.
#include "execquote.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(ExecQuote, APlainPathStaysBareAndAnythingElseIsQuotedAndEscaped)
{
    // Bare, because some readers take the first word of Exec as it stands.
    EXPECT_EQ(ExecArgument(QStringLiteral("/usr/bin/quillet")), QStringLiteral("/usr/bin/quillet"));
    EXPECT_EQ(ExecArgument(QStringLiteral("/usr/bin/quillet"), true), QStringLiteral("\"/usr/bin/quillet\""));
    EXPECT_EQ(ExecArgument(QStringLiteral("/opt/my apps/q")), QStringLiteral("\"/opt/my apps/q\""));
    EXPECT_EQ(ExecArgument(QStringLiteral("/a\"b`c$d\\e/q")), QStringLiteral("\"/a\\\"b\\`c\\$d\\\\e/q\""));
    EXPECT_EQ(ExecArgument(QStringLiteral("/100%/q")), QStringLiteral("/100%%/q"));
    EXPECT_EQ(ShellArgument(QStringLiteral("/a $b/q")), QStringLiteral("\"/a \\$b/q\""));
    // The key file's own escapes come on top of the quoting.
    EXPECT_EQ(KeyFileValue(QStringLiteral("\"/a\\\\b\" %f")), QStringLiteral("\"/a\\\\\\\\b\" %f"));
    EXPECT_EQ(KeyFileValue(QStringLiteral(" x\ty")), QStringLiteral("\\sx\\ty"));
    // Read back, every path names the program it was written for.
    for (const QString& path : {QStringLiteral("/usr/bin/quillet"), QStringLiteral("/a\"b`c$d\\e 100%/q")})
        EXPECT_EQ(ExecProgram(KeyFileValue(ExecArgument(path) + QStringLiteral(" %f"))), path);
    EXPECT_EQ(ExecProgram(QStringLiteral("quillet %F")), QStringLiteral("quillet"));

    // Only absolute paths without control characters can be written.
    EXPECT_TRUE(IsQuotablePath(QStringLiteral("/odd 'dir' $x/q")));
    EXPECT_FALSE(IsQuotablePath(QStringLiteral("bin/q")));
    EXPECT_FALSE(IsQuotablePath(QStringLiteral("/a\nb/q")));
    EXPECT_FALSE(IsQuotablePath(QString()));
    // A name whose bytes are not UTF-8 cannot stand in a desktop entry.
    EXPECT_FALSE(IsQuotablePath(QStringLiteral("/opt/\xFFFDq")));
    EXPECT_FALSE(IsQuotablePath(QStringLiteral("/opt/") + QChar(0xDCE9) + QStringLiteral("/q")));
    EXPECT_TRUE(IsQuotablePath(QString::fromUtf8("/opt/квиллет/😀/q")));
}

} // namespace
