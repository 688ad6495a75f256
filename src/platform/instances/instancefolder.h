// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user folder in which every running copy listens, one socket per copy
// named after its process id.
#pragma once

#include <QString>

#include <optional>

namespace platform {

// $XDG_RUNTIME_DIR/quillet, or /tmp/quillet-<uid> without a runtime folder.
// With create, a missing folder is made with mode 0700. Nothing when the folder
// is missing, is not a real folder (a link, a file), belongs to another user, or
// is open to others and cannot be narrowed: other users must never reach a copy.
std::optional<QString> InstanceFolder(bool create);

// The socket path of the copy with this handle, inside the folder.
QString InstanceSocketPath(const QString& folder, qint64 handle);

} // namespace platform
