// SPDX-License-Identifier: GPL-3.0-or-later
// Running the cache builders with an argument vector, never through a shell.
#include "xdgtools.h"

#include "desktoperror.h"

#include <QProcess>
#include <QStandardPaths>

namespace platform {

namespace {

constexpr int ToolTimeoutMs = 60000;

bool Run(const QString& tool, const QString& folder)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(program);
    process.setArguments({folder});
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForFinished(ToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        throw DesktopError(tool, QStringLiteral("did not finish"));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw DesktopError(tool, QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
    return true;
}

} // namespace

bool UpdateMimeDatabase(const QString& mimeFolder)
{
    return Run(QStringLiteral("update-mime-database"), mimeFolder);
}

bool UpdateDesktopDatabase(const QString& applicationsFolder)
{
    return Run(QStringLiteral("update-desktop-database"), applicationsFolder);
}

} // namespace platform
