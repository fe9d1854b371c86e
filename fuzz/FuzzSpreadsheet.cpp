// The spreadsheet reader on any file, in this process so that the library's own faults show: rows
// of equal width, or a CorvelError. The first byte chooses the file's extension (xlsx, ods, csv),
// the rest is the file.
#include "CorvelError.h"
#include "FuzzMain.h"
#include "SpreadsheetReader.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static QTemporaryDir dir;
    static const char* const extensions[] = {"xlsx", "ods", "csv"};
    const QString path = dir.filePath(QStringLiteral("pigeons.") + QLatin1String(extensions[data[0] % 3]));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(fuzzInput(data + 1, size - 1));
    }
    try {
        const QList<QVariantList> rows = readFirstSheetInProcess(path);
        for (const QVariantList& row : rows)
            FUZZ_EXPECT(row.size() == rows.first().size());
    } catch (const CorvelError&) {
    }
    QFile::remove(path);
    return 0;
}
