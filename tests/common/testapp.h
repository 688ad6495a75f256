// The application object the Qt-using tests need, made once for the test run.
#pragma once

class QApplication;

QApplication& TestApp();
