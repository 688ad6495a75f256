// SPDX-License-Identifier: GPL-3.0-or-later
// The errors of the printer object: a print job that cannot start, go on or end
// (EPrinter), and a file that cannot be written or read (EInOutError).
#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// The detail is the print system's own reason, for logs and tests; the program
// shows its own words for each step that failed.
class EPrinter : public std::runtime_error {
public:
    explicit EPrinter(const QString& detail) : std::runtime_error(detail.toStdString()) {}
};

// A file of the printing layer (a PDF target, a preview page) that could not be
// written or read; names the file and the system's reason.
class EInOutError : public std::runtime_error {
public:
    EInOutError(const QString& file, const QString& reason)
        : std::runtime_error((file + QStringLiteral(": ") + reason).toStdString()), File(file), Reason(reason)
    {
    }
    QString File;
    QString Reason;
};

} // namespace platform
