// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the packaging tests.
#include "packagingsupport.h"

#include <QProcess>
#include <QStandardPaths>

RunResult RunTool(const QString& program, const QStringList& arguments, int timeoutMs, const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    RunResult result;
    if (!process.waitForStarted(10000))
        return result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        result.exitCode = process.exitCode();
    }
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

bool HaveTool(const QString& name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

QString InstallInto(const QString& prefix)
{
    const RunResult installed = RunTool(QStringLiteral(QUILLET_CMAKE),
                                    {QStringLiteral("--install"), QStringLiteral(QUILLET_BUILD_DIR),
                                     QStringLiteral("--prefix"), prefix});
    return installed.exitCode == 0 ? QString() : installed.out + installed.err;
}
