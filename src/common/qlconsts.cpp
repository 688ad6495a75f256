// Translation of the program's resource strings.
#include "qlconsts.h"

#include <QCoreApplication>

QString Tr(const char* text)
{
    return QCoreApplication::translate(QlConsts::Context, text);
}
