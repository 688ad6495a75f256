// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: a text browser over the help file beside the program or in its
// data folder; links into the file stay in it, other links go to the desktop.
#include "helpviewer.h"

#include "datafolders.h"
#include "qlconsts.h"
#include "shell.h"

#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int ViewerWidth = 560, ViewerHeight = 480;

} // namespace

QUrl HelpFileUrl()
{
    // The file shipped beside the program or installed with it; the copy built into
    // the program when neither is there, so that help never goes missing.
    const QString file = FindDataFile(platform::SelfExecutable(), QStringLiteral("Quillpad.hlp"));
    return file.isEmpty() ? QUrl(QStringLiteral("qrc:/help/Quillpad.hlp")) : QUrl::fromLocalFile(file);
}

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(Tr(QlConsts::HelpCaption));
    resize(ViewerWidth, ViewerHeight);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("HelpBrowser"));
    browser->setOpenLinks(false);
    column->addWidget(browser);
    connect(browser, &QTextBrowser::anchorClicked, this, &THelpViewer::LinkClicked);
    browser->setSource(HelpFileUrl(), QTextDocument::HtmlResource);
}

void THelpViewer::ShowContext(int value)
{
    context = value;
    show();
    raise();
    activateWindow();
    // Scrolled once shown: a hidden browser has no scroll range yet.
    const QString anchor = QStringLiteral("context%1").arg(value);
    browser->scrollToAnchor(anchor);
    QTimer::singleShot(0, browser, [this, anchor] { browser->scrollToAnchor(anchor); });
}

void THelpViewer::LinkClicked(const QUrl& url)
{
    if (url.scheme().isEmpty() || url.scheme() == QLatin1String("qrc")
        || url.matches(browser->source(), QUrl::RemoveFragment)) {
        browser->scrollToAnchor(url.fragment());
        return;
    }
    platform::OpenUrl(url.toString());
}
