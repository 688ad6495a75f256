// SPDX-License-Identifier: GPL-3.0-or-later
// The application object the Qt-using tests need, made once for the test run.
#pragma once

class QApplication;

QApplication& TestApp();
