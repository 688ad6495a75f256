// One QApplication for the whole test run (offscreen, set by the harness). It is
// left to the end of the process on purpose: destroying it among static objects
// would race the platform plugin's own teardown.
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
