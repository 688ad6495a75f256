// SPDX-License-Identifier: GPL-3.0-or-later
// The one failure of the desktop mirror: a file or tool in the user's XDG folders
// that could not be written or run, named so that the user can look at it.
#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

class DesktopError : public std::runtime_error {
public:
    DesktopError(QString path, QString reason)
        : std::runtime_error(path.toStdString() + ": " + reason.toStdString()), path(std::move(path)),
          reason(std::move(reason))
    {
    }
    // The file, folder or tool concerned.
    const QString& Path() const { return path; }
    // What the system said.
    const QString& Reason() const { return reason; }

private:
    QString path;
    QString reason;
};

} // namespace platform
