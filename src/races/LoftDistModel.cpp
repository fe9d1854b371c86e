#include "LoftDistModel.h"

#include <QRegularExpression>

LoftDistModel::LoftDistModel(QObject* parent) : RowSetModel(parent) {}

void LoftDistModel::clearEdits()
{
    pendingLoftNo_.clear();
    pending_.clear();
    posted_.clear();
}

bool LoftDistModel::editable(int column) const
{
    return column == fieldIndex(QStringLiteral("Miles")) || column == fieldIndex(QStringLiteral("Yards"));
}

Qt::ItemFlags LoftDistModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = RowSetModel::flags(index);
    if (index.isValid() && editable(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant LoftDistModel::edited(int row, int column) const
{
    const QString loftNo = value(row, QStringLiteral("LoftNo")).toString();
    const QString field = fields().value(column).toLower();
    if (!pendingLoftNo_.isEmpty() && loftNo == pendingLoftNo_ && pending_.contains(field))
        return pending_.value(field);
    const auto posted = posted_.constFind(loftNo);
    if (posted != posted_.constEnd() && posted->contains(field))
        return posted->value(field);
    return {};
}

QVariant LoftDistModel::data(const QModelIndex& index, int role) const
{
    if (index.isValid() && editable(index.column()) && (role == Qt::DisplayRole || role == Qt::EditRole)) {
        const QVariant v = edited(index.row(), index.column());
        if (v.isValid())
            return role == Qt::DisplayRole ? QVariant(display(index.column(), v)) : v;
    }
    return RowSetModel::data(index, role);
}

bool LoftDistModel::setData(const QModelIndex& index, const QVariant& v, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !editable(index.column()))
        return false;
    static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
    const QString text = v.toString().trimmed();
    if (!digits.match(text).hasMatch())
        return false;
    const QString loftNo = value(index.row(), QStringLiteral("LoftNo")).toString();
    if (!pendingLoftNo_.isEmpty() && pendingLoftNo_ != loftNo)
        submit();
    pendingLoftNo_ = loftNo;
    pending_.insert(fields().at(index.column()).toLower(), text.toInt());
    emit dataChanged(index, index);
    return true;
}

bool LoftDistModel::submit()
{
    if (pendingLoftNo_.isEmpty())
        return true;
    const QString loftNo = pendingLoftNo_;
    auto current = [&](const QString& field) {
        const QString key = field.toLower();
        if (pending_.contains(key))
            return pending_.value(key).toInt();
        for (int r = 0; r < rowCount(); ++r)
            if (value(r, QStringLiteral("LoftNo")).toString() == loftNo) {
                const QVariant v = edited(r, fieldIndex(field));
                return v.isValid() ? v.toInt() : value(r, field).toInt();
            }
        return 0;
    };
    const int miles = current(QStringLiteral("Miles"));
    const int yards = current(QStringLiteral("Yards"));
    const QHash<QString, QVariant> values = pending_;
    pendingLoftNo_.clear();
    pending_.clear();
    const bool stored = poster_ && poster_(loftNo, miles, yards);
    if (stored)
        for (auto it = values.constBegin(); it != values.constEnd(); ++it)
            posted_[loftNo].insert(it.key(), it.value());
    rowChanged(loftNo);
    return stored;
}

void LoftDistModel::revert()
{
    if (pendingLoftNo_.isEmpty())
        return;
    const QString loftNo = pendingLoftNo_;
    pendingLoftNo_.clear();
    pending_.clear();
    rowChanged(loftNo);
}

void LoftDistModel::rowChanged(const QString& loftNo)
{
    for (int r = 0; r < rowCount(); ++r)
        if (value(r, QStringLiteral("LoftNo")).toString() == loftNo)
            emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}
