#pragma once

#include "RowSetModel.h"

#include <QHash>
#include <functional>

// The rows of the Distance view (one distance row of the shown point per member), editable in
// the Miles and Yards columns. A change is held for its row until it is submitted (Enter, or
// the grid moving to another row), which stores it through the poster; revert() drops it.
class LoftDistModel : public RowSetModel {
    Q_OBJECT
public:
    // Stores the row's values; returns false when it could not (the change is then dropped).
    using Poster = std::function<bool(const QString& loftNo, int miles, int yards)>;

    explicit LoftDistModel(QObject* parent = nullptr);
    void setPoster(Poster poster) { poster_ = std::move(poster); }

    bool hasPendingChange() const { return !pendingLoftNo_.isEmpty(); }
    // Forgets every held and stored edit; call after the rows were read again.
    void clearEdits();

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

public slots:
    bool submit() override;
    void revert() override;

private:
    bool editable(int column) const;
    QVariant edited(int row, int column) const;
    void rowChanged(const QString& loftNo);

    Poster poster_;
    QString pendingLoftNo_;
    QHash<QString, QVariant> pending_;               // field (lower case) -> value
    QHash<QString, QHash<QString, QVariant>> posted_;  // LoftNo -> field -> value stored since the rows were read
};
