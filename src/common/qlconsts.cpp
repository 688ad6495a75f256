// SPDX-License-Identifier: GPL-3.0-or-later
// Translation of the program's resource strings.
#include "qlconsts.h"

#include <QCoreApplication>

QString Tr(const char* text)
{
    return QCoreApplication::translate(QlConsts::Context, text);
}
