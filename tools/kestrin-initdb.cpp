// kestrin-initdb PATH: creates a new, encrypted invoice database at PATH.
// Refuses to touch a file that already exists.

#include "store/InvoiceSchema.h"

#include <QFileInfo>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrin-initdb PATH\n"
                             "Creates a new invoice database at PATH (normally invoice.ss beside kestrin).\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "kestrin-initdb: %s already exists; it was left untouched.\n", argv[1]);
        return 1;
    }
    QString error;
    if (!CreateInvoiceDatabase(path, &error)) {
        std::fprintf(stderr, "kestrin-initdb: cannot create %s: %s\n", argv[1], qUtf8Printable(error));
        return 1;
    }
    std::printf("kestrin-initdb: created %s\n", argv[1]);
    return 0;
}
