#pragma once

#include "RaceLogic.h"

#include <QWidget>
#include <memory>

namespace Ui {
class SunDataPanel;
}

// The sun table of a race (pnlSunData), shown over the race view: two fixed rows of titles and
// format hints over six day rows of date, location, sunset and sunrise. The race view reads and
// stores the rows; the panel shows them and gives back what was typed.
class SunDataPanel : public QWidget {
    Q_OBJECT
public:
    explicit SunDataPanel(QWidget* parent = nullptr);
    ~SunDataPanel() override;

    // Shows the panel with `rows` (the first six) and the remaining day rows empty.
    void showRows(const QList<SunRowText>& rows);
    // The six day rows as they stand.
    QList<SunRowText> rows() const;

    // Handlers.
    void btnCan_SunClick();

signals:
    // "Save": the race view stores the rows.
    void saveClicked();

private:
    std::unique_ptr<Ui::SunDataPanel> ui_;
};
