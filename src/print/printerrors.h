// SPDX-License-Identifier: GPL-3.0-or-later
// The errors of the printer component: each carries the program's text for the
// step that failed, ready to show.
#pragma once

#include "printererrors.h"

#include <QString>

#include <stdexcept>

class ELinePrinter : public platform::EPrinter {
public:
    explicit ELinePrinter(const QString& message) : platform::EPrinter(message) {}
};

// A number that could not be read (a column width of a header or footer row).
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString& message) : std::runtime_error(message.toStdString()) {}
};
