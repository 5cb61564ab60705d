// kestrovane-layout DIR SCHEMA [PICTURES]: lays out a program directory.
#include "store/ProgramLayout.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: kestrovane-layout DIR SCHEMA [PICTURES]\n");
        return 2;
    }
    const QString error = LayoutProgramDir(args[1], args[2], args.value(3));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "kestrovane-layout: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
