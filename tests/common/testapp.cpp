// SPDX-License-Identifier: GPL-3.0-or-later
// One QApplication for the whole test run, left alive to the end of the process:
// destroying it among static objects would race the platform plugin's teardown.
#include "testapp.h"

#include <QApplication>

QApplication& TestApp()
{
    static int argc = 1;
    static char name[] = "common_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
