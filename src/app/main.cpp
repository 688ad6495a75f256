// Program entry: the application object, its title, the main window and the
// event loop.
#include "view.h"

#include <QApplication>
#include <QFile>

int main(int argc, char* argv[])
{
    // Every argument is a file name, even one that looks like a toolkit option,
    // so the toolkit sees only the program's own name.
    QStringList names;
    for (int i = 1; i < argc; ++i)
        names << QFile::decodeName(argv[i]);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setDesktopFileName(QStringLiteral("quillet"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillet.png")));
    TfmView view(names);
    view.show();
    return QApplication::exec();
}
