// corvel-sheet-reader <path>: reads the first sheet of a workbook and writes the rows, or the
// reason it cannot be read, to stdout for the program that started it.
#include "SpreadsheetReader.h"

#include <QFile>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("Usage: corvel-sheet-reader <path>\n", stderr);
        return 2;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    writeFirstSheet(QFile::decodeName(argv[1]), out);
    return out.flush() ? 0 : 1;
}
