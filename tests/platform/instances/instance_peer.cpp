// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in copy for the listing tests: registers under its own process id with
// INSTANCE_TAG and the caption given, says "ready", and serves until closed.
#include "instanceserver.h"
#include "viewrequest.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    platform::InstanceServer server;
    server.SetTag(INSTANCE_TAG);
    server.SetCaption(argc > 1 ? QString::fromUtf8(argv[1]) : QString());
    server.OnClose = [] { QCoreApplication::quit(); };
    server.SetReady(true);
    if (!server.Register())
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
