#include "SpreadsheetReader.h"

#include "CorvelError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <ixion/model_context.hpp>
#include <orcus/format_detection.hpp>
#include <orcus/orcus_csv.hpp>
#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/factory.hpp>
#include <orcus/spreadsheet/sheet.hpp>
#include <memory>

QList<QVariantList> readFirstSheet(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CorvelError(QStringLiteral("Cannot read %1: %2").arg(shown, file.errorString()));
    const QByteArray head = file.read(1 << 16);
    file.close();

    orcus::spreadsheet::range_size_t size;
    size.rows = 1048576;
    size.columns = 16384;
    orcus::spreadsheet::document doc(size);
    orcus::spreadsheet::import_factory factory(doc);
    std::unique_ptr<orcus::iface::import_filter> filter;
    const QString suffix = QFileInfo(path).suffix().toLower();
    try {
        const auto format = orcus::detect(reinterpret_cast<const unsigned char*>(head.constData()),
                                          static_cast<size_t>(head.size()));
        if (format == orcus::format_t::xlsx)
            filter = std::make_unique<orcus::orcus_xlsx>(&factory);
        else if (format == orcus::format_t::ods)
            filter = std::make_unique<orcus::orcus_ods>(&factory);
        else if (suffix == QLatin1String("csv"))
            filter = std::make_unique<orcus::orcus_csv>(&factory);
        else
            throw CorvelError(QStringLiteral("%1 is not a spreadsheet file this program can read (xlsx, ods or csv).").arg(shown));
        filter->read_file(QFile::encodeName(path).toStdString());
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
            default:
                row << QVariant();
            }
        }
        rows << row;
    }
    return rows;
}
