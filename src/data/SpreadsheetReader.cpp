#include "SpreadsheetReader.h"

#include "CorvelError.h"
#include "ProgramFolder.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <ixion/cell.hpp>
#include <ixion/formula_result.hpp>
#include <ixion/model_context.hpp>
#include <orcus/csv_parser.hpp>
#include <orcus/format_detection.hpp>
#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/factory.hpp>
#include <orcus/spreadsheet/sheet.hpp>
#include <algorithm>
#include <memory>

namespace {

// Collects the cells of a csv file as texts: a csv file has no cell types, and reading "007" or
// "0098" as numbers would lose their leading zeros.
class CsvRows {
public:
    QList<QVariantList> rows;
    qsizetype width = 0;

    void begin_parse() {}
    void end_parse() {}
    void begin_row() { rows.append(QVariantList()); }
    void end_row() { width = std::max(width, rows.last().size()); }
    void cell(const char* p, size_t n, bool)
    {
        if (n == 0)
            rows.last() << QVariant();
        else
            rows.last() << QString::fromUtf8(p, static_cast<qsizetype>(n));
    }
};

// Little-endian fields of a zip file's records.
quint32 zipField(const QByteArray& bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(bytes.at(at + i));
    return value;
}

// Whether the file is a zip container whose directory declares an entry larger than the file
// itself (compressed) or than a workbook can be (uncompressed). The spreadsheet library sets aside
// what an entry declares before it reads it, so such a damaged file would take gigabytes of memory.
// A directory that cannot be walked is left to the library, which refuses it.
bool zipDeclaresImpossibleSizes(const QByteArray& content)
{
    constexpr quint32 MaxUncompressed = 1u << 30;
    constexpr qsizetype EndRecordSize = 22;
    const qsizetype end = content.lastIndexOf(QByteArrayLiteral("PK\x05\x06"));
    if (end < 0 || end + EndRecordSize > content.size())
        return false;
    const quint32 entries = zipField(content, end + 10, 2);
    qsizetype at = zipField(content, end + 16, 4);
    for (quint32 n = 0; n < entries; ++n) {
        constexpr qsizetype HeaderSize = 46;
        if (at < 0 || at + HeaderSize > content.size() || zipField(content, at, 4) != 0x02014b50)
            return false;
        const quint32 compressed = zipField(content, at + 20, 4);
        const quint32 uncompressed = zipField(content, at + 24, 4);
        if (compressed > static_cast<quint64>(content.size()) || uncompressed > MaxUncompressed)
            return true;
        at += HeaderSize + zipField(content, at + 28, 2) + zipField(content, at + 30, 2) + zipField(content, at + 32, 2);
    }
    return false;
}

QString tooManyCellsText(const QString& shown, qint64 rows, qint64 columns)
{
    return QStringLiteral("%1 holds data as far as row %2, column %3: more than the %4 cells this program reads. "
                          "Remove the values beyond the table and try again.")
        .arg(shown)
        .arg(rows)
        .arg(columns)
        .arg(kMaxSheetCells);
}

QList<QVariantList> readCsv(QByteArray content, const QString& shown)
{
    if (content.startsWith("\xEF\xBB\xBF"))
        content.remove(0, 3);  // the UTF-8 mark some programs put first
    content.replace("\r\n", "\n");  // the parser ends rows at LF only
    orcus::csv::parser_config config;
    config.delimiters.push_back(',');
    config.text_qualifier = '"';
    config.trim_cell_value = false;
    CsvRows handler;
    orcus::csv_parser<CsvRows> parser(content.constData(), static_cast<size_t>(content.size()), handler, config);
    parser.parse();
    if (qint64(handler.rows.size()) * handler.width > kMaxSheetCells)
        throw CorvelError(tooManyCellsText(shown, handler.rows.size(), handler.width));
    for (QVariantList& row : handler.rows)
        while (row.size() < handler.width)
            row << QVariant();
    return std::move(handler.rows);
}

QVariant formulaResult(const ixion::model_context& cells, const ixion::abs_address_t& at)
{
    const ixion::formula_cell* formula = cells.get_formula_cell(at);
    if (!formula)
        return {};
    try {
        const ixion::formula_result result = formula->get_result_cache(ixion::formula_result_wait_policy_t::throw_exception);
        switch (result.get_type()) {
        case ixion::formula_result::result_type::value:
            return result.get_value();
        case ixion::formula_result::result_type::string:
            return QString::fromStdString(result.get_string());
        default:
            return {};
        }
    } catch (const std::exception&) {
        return {};  // no stored result
    }
}

// What the reader program writes: the magic and the format version, then whether the file was
// read, then the rows or the error's text.
constexpr quint32 kSheetMagic = 0x43534852;  // "CSHR"
constexpr quint16 kSheetFormat = 1;
constexpr QDataStream::Version kSheetStreamVersion = QDataStream::Qt_6_0;

QString sheetReaderPath()
{
    const QString chosen = qEnvironmentVariable("CORVEL_SHEET_READER");
    if (!chosen.isEmpty())
        return chosen;
    const QString installed = QDir(programLibraryFolder()).filePath(QStringLiteral("corvel-sheet-reader"));
    return QFileInfo::exists(installed) ? installed : QStringLiteral(CORVEL_SHEET_READER_BUILT);
}

CorvelError damagedFile(const QString& shown, const QString& reason)
{
    return CorvelError(QStringLiteral("%1 is damaged or is not a spreadsheet this program can read: %2.").arg(shown, reason));
}

}  // namespace

void writeFirstSheet(const QString& path, QIODevice& out)
{
    QDataStream stream(&out);
    stream.setVersion(kSheetStreamVersion);
    stream << kSheetMagic << kSheetFormat;
    try {
        const QList<QVariantList> rows = readFirstSheetInProcess(path);
        stream << true << rows;
    } catch (const CorvelError& e) {
        stream << false << e.text();
    }
}

QList<QVariantList> readFirstSheet(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QString reader = sheetReaderPath();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(reader, {path}, QIODevice::ReadOnly);
    if (!process.waitForStarted())
        throw CorvelError(QStringLiteral("Cannot read %1: the spreadsheet reader %2 cannot be started (%3).")
                              .arg(shown, QDir::toNativeSeparators(reader), process.errorString()));
    // The rows come as the reader writes them; QProcess keeps all of its output until it ends.
    if (!process.waitForFinished(kSheetReaderTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        throw damagedFile(shown, QStringLiteral("reading it did not end within %1 minutes").arg(kSheetReaderTimeoutMs / 60000));
    }
    if (process.exitStatus() != QProcess::NormalExit)
        throw damagedFile(shown, QStringLiteral("the spreadsheet reader stopped on it"));
    if (process.exitCode() != 0)
        throw damagedFile(shown, QStringLiteral("the spreadsheet reader failed with code %1").arg(process.exitCode()));

    const QByteArray output = process.readAllStandardOutput();
    QDataStream stream(output);
    stream.setVersion(kSheetStreamVersion);
    quint32 magic = 0;
    quint16 format = 0;
    bool read = false;
    stream >> magic >> format >> read;
    if (stream.status() == QDataStream::Ok && magic == kSheetMagic && format == kSheetFormat) {
        if (read) {
            QList<QVariantList> rows;
            stream >> rows;
            if (stream.status() == QDataStream::Ok && stream.atEnd())
                return rows;
        } else {
            QString text;
            stream >> text;
            if (stream.status() == QDataStream::Ok && stream.atEnd())
                throw CorvelError(text);
        }
    }
    throw damagedFile(shown, QStringLiteral("the spreadsheet reader gave no answer this program understands"));
}

QList<QVariantList> readFirstSheetInProcess(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CorvelError(QStringLiteral("Cannot read %1: %2").arg(shown, file.errorString()));
    // The whole file: a zip container (xlsx, ods) is told apart by its directory at the end.
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw CorvelError(QStringLiteral("Cannot read %1: %2").arg(shown, file.errorString()));
    file.close();
    if (zipDeclaresImpossibleSizes(content))
        throw CorvelError(QStringLiteral("%1 is damaged: its contents declare sizes the file cannot hold, so it cannot be read "
                                         "as a spreadsheet.")
                              .arg(shown));

    orcus::spreadsheet::range_size_t size;
    size.rows = 1048576;
    size.columns = 16384;
    orcus::spreadsheet::document doc(size);
    orcus::spreadsheet::import_factory factory(doc);
    std::unique_ptr<orcus::iface::import_filter> filter;
    const QString suffix = QFileInfo(path).suffix().toLower();
    try {
        const auto format = orcus::detect(reinterpret_cast<const unsigned char*>(content.constData()),
                                          static_cast<size_t>(content.size()));
        if (format == orcus::format_t::xlsx)
            filter = std::make_unique<orcus::orcus_xlsx>(&factory);
        else if (format == orcus::format_t::ods)
            filter = std::make_unique<orcus::orcus_ods>(&factory);
        else if (suffix == QLatin1String("csv"))
            return readCsv(content, shown);
        else
            throw CorvelError(QStringLiteral("%1 is not a spreadsheet file this program can read (xlsx, ods or csv).").arg(shown));
        filter->read_stream(std::string_view(content.constData(), static_cast<size_t>(content.size())));
    } catch (const CorvelError&) {
        throw;
    } catch (const std::exception& e) {
        throw CorvelError(QStringLiteral("Cannot read %1: %2").arg(shown, QString::fromUtf8(e.what())));
    }

    QList<QVariantList> rows;
    if (doc.get_sheet_count() == 0)
        return rows;
    const orcus::spreadsheet::sheet* sheet = doc.get_sheet(0);
    const ixion::abs_range_t range = sheet->get_data_range();
    if (!range.valid())
        return rows;
    // One stray value far out (say in XFD1048576) would make the sheet billions of cells wide and
    // high; such a file is refused instead of filling the memory.
    const qint64 cellCount = (qint64(range.last.row) + 1) * (qint64(range.last.column) + 1);
    if (cellCount > kMaxSheetCells)
        throw CorvelError(tooManyCellsText(shown, qint64(range.last.row) + 1, qint64(range.last.column) + 1));
    const ixion::model_context& cells = doc.get_model_context();
    for (ixion::row_t r = 0; r <= range.last.row; ++r) {
        QVariantList row;
        for (ixion::col_t c = 0; c <= range.last.column; ++c) {
            const ixion::abs_address_t at(0, r, c);
            switch (cells.get_celltype(at)) {
            case ixion::celltype_t::string:
                row << QString::fromUtf8(cells.get_string_value(at).data(), static_cast<qsizetype>(cells.get_string_value(at).size()));
                break;
            case ixion::celltype_t::numeric:
                row << cells.get_numeric_value(at);
                break;
            case ixion::celltype_t::boolean:
                row << cells.get_boolean_value(at);
                break;
            case ixion::celltype_t::formula:
                row << formulaResult(cells, at);
                break;
            default:
                row << QVariant();
            }
        }
        rows << row;
    }
    return rows;
}
