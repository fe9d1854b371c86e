#pragma once

#include "ClockOpTab.h"

#include <memory>

namespace Ui {
class MarkingTab;
}

// The Marking tab: marks the pigeons whose eRings are laid on the reader for the chosen race.
class MarkingTab : public ClockOpTab {
    Q_OBJECT
public:
    explicit MarkingTab(QWidget* parent = nullptr);
    ~MarkingTab() override;

    Link link() const override { return Link::RingReader; }
    // The Marking race list.
    void fillList() override;

    // Choosing the race starts reading.
    void cbbRaceCodeClick();
    // One poll of the reader; returns whether reading runs on.
    bool MarkTimer1Timer();

private:
    void attached() override;
    void showPigeons(const QString& selectRingNo);

    std::unique_ptr<Ui::MarkingTab> ui_;
    RowSetModel* adoqMarking_;
};
