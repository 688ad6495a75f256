// SPDX-License-Identifier: GPL-3.0-or-later
// Running the build's tools and the installed programs for the packaging tests.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct RunResult {
    int exitCode = -1;  // -1 when it did not start, crashed or did not finish
    QString out;
    QString err;
};

// Runs a program to its end (at most timeoutMs), its input empty.
RunResult RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 120000,
              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

// Whether a tool the test needs is on PATH.
bool HaveTool(const QString& name);

// The build installed into prefix with `cmake --install`; the error output when it failed.
QString InstallInto(const QString& prefix);
