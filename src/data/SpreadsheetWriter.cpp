#include "SpreadsheetWriter.h"

#include "CorvelError.h"
#include "RowSetModel.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <xlsxwriter.h>

namespace {

CorvelError dataTransferError(const QString& reason)
{
    return CorvelError(QString::fromLatin1(DataTransferErrorText) + reason);
}

bool isNumber(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

}  // namespace

void writeWorkbook(const QString& path, const RowSetModel& rows, const QList<SheetColumn>& columns)
{
    // libxlsxwriter writes the file by its name: a temporary one, put in place once complete.
    WholeFile file(path, WholeFile::WrittenByName);
    lxw_workbook* workbook = workbook_new(QFile::encodeName(file.temporaryPath()).constData());
    if (!workbook)
        throw dataTransferError(QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(path)));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");

    QList<lxw_format*> formats;
    QList<bool> textColumns;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        const SheetColumn& column = columns.at(c);
        lxw_format* format = nullptr;
        if (!column.numberFormat.isEmpty()) {
            format = workbook_add_format(workbook);
            format_set_num_format(format, column.numberFormat.constData());
        }
        formats << format;
        textColumns << (column.numberFormat == "@");
        if (format || column.width > 0) {
            const auto col = static_cast<lxw_col_t>(c);
            worksheet_set_column(sheet, col, col, column.width > 0 ? column.width : LXW_DEF_COL_WIDTH, format);
        }
    }

    lxw_error error = LXW_NO_ERROR;
    const QStringList& fields = rows.fields();
    for (int c = 0; c < fields.size() && error == LXW_NO_ERROR; ++c)
        error = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), fields.at(c).toUtf8().constData(), nullptr);
    for (int r = 0; r < rows.rowCount() && error == LXW_NO_ERROR; ++r) {
        for (int c = 0; c < fields.size() && error == LXW_NO_ERROR; ++c) {
            const QVariant value = rows.value(r, c);
            if (value.isNull() || (value.metaType().id() == QMetaType::QString && value.toString().isEmpty()))
                continue;
            const auto row = static_cast<lxw_row_t>(r + 1);
            const auto col = static_cast<lxw_col_t>(c);
            lxw_format* format = c < formats.size() ? formats.at(c) : nullptr;
            const bool text = c < textColumns.size() && textColumns.at(c);
            if (isNumber(value) && !text)
                error = worksheet_write_number(sheet, row, col, value.toDouble(), format);
            else
                error = worksheet_write_string(sheet, row, col, value.toString().toUtf8().constData(), format);
        }
    }
    const lxw_error closed = workbook_close(workbook);
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error != LXW_NO_ERROR)
        throw dataTransferError(QString::fromUtf8(lxw_strerror(error)));
    try {
        file.commit();
    } catch (const CorvelError& e) {
        throw dataTransferError(e.text());
    }
}

QString workbookFileName(const QString& chosen)
{
    if (chosen.isEmpty())
        return chosen;
    const QString suffix = QFileInfo(chosen).suffix();
    if (suffix.compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        return chosen.chopped(suffix.size()) + QStringLiteral("xlsx");
    if (!suffix.isEmpty())
        return chosen;
    return chosen + QStringLiteral(".xlsx");
}
