#include "Schema.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_database FILE\n");
        return 2;
    }
    QString error;
    if (!Create_Empty_Database(QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "make_database: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
