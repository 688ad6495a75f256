// SPDX-License-Identifier: GPL-3.0-or-later
// Which links from document text may be opened, and opening them with the
// desktop's URL handler. Nothing found in a document is ever executed.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Opens a URL that has passed IsSafeLink; answers whether it was handed over.
using TLinkOpener = std::function<bool(const QUrl& url)>;

// http, https, ftp and mailto links, and file links to existing non-executable
// regular files. A bare "www." link is taken as http.
bool IsSafeLink(const QUrl& url);
QUrl LinkUrl(const QString& linkText);

// The desktop's URL handler.
bool DefaultLinkOpener(const QUrl& url);
