// SPDX-License-Identifier: GPL-3.0-or-later
// The two dialogs of embedded objects as questions the Prompter asks: Insert
// Object, and Object Properties with its link page.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

struct InsertObjectRequest {
    QStringList newKinds;   // the kinds "Create new" can make, in order
    QString directory;      // where "Browse" starts
};

struct InsertObjectAnswer {
    bool createNew = false;
    int newKind = 0;        // index into newKinds
    QString fileName;       // create from file: the file
    bool link = false;      // create from file: link instead of embedding
    bool asIcon = false;
};

struct ObjectPropertiesRequest {
    QString caption;        // "<type> Properties"
    QString typeName;
    QString name;
    QString size;           // as shown ("12 KB (12 345 bytes)")
    QString location;
    QImage picture;         // what the object shows now
    bool asIcon = false;
    bool canShowContent = false;
    bool isLink = false;
    QString source;         // a link's source, for display
    // The link page's buttons act at once, as in any properties sheet. Changing the
    // source answers whether the new one was taken.
    std::function<bool(const QString& source)> changeSource;
    std::function<void()> breakLink;
    std::function<void()> openSource;
    std::function<void()> updateNow;
};

struct ObjectPropertiesAnswer {
    bool asIcon = false;
};

// What a test does in the properties dialog: the link buttons it presses, in
// order, then OK with the answer, or Cancel when there is none.
enum class LinkButton { ChangeSource, BreakLink, OpenSource, UpdateNow };
struct LinkPress {
    LinkButton button = LinkButton::UpdateNow;
    QString source;         // for ChangeSource
};
struct ObjectPropertiesScript {
    std::vector<LinkPress> presses;
    std::optional<ObjectPropertiesAnswer> answer;
};
