#pragma once

#include "ClockOpTab.h"

#include <memory>

namespace Ui {
class CreateRaceTab;
}

// The Create Timer Race tab: loads a member's clock with a race.
// Choosing the race and the member (cbbRaceCode_DLRClick, CbbLoftNo_DLRClick), the grid
// dbgrdCrtRace and the clock dialogue come with the programming of the clocks.
class CreateRaceTab : public ClockOpTab {
    Q_OBJECT
public:
    explicit CreateRaceTab(QWidget* parent = nullptr);
    ~CreateRaceTab() override;

    Link link() const override { return Link::Clock; }
    // The race list.
    void fillList() override;

private:
    std::unique_ptr<Ui::CreateRaceTab> ui_;
};
