#pragma once

#include "ClockOpTab.h"

#include <memory>

namespace Ui {
class CreateRaceTab;
}

struct ClockRace;

// The Create Timer Race tab: loads a member's clock with a race of the club and the member's
// pigeons marked for it, and prints the member's race entry.
class CreateRaceTab : public ClockOpTab {
    Q_OBJECT
public:
    explicit CreateRaceTab(QWidget* parent = nullptr);
    ~CreateRaceTab() override;

    Link link() const override { return Link::Clock; }
    // The race list.
    void fillList() override;

    // Choosing the race offers the members with entries in it.
    void cbbRaceCode_DLRClick();
    // Choosing a member programs the race into the clock on the port.
    void CbbLoftNo_DLRClick();

private:
    void attached() override;
    void showPigeons(const ClockRace& race, bool ordered);

    std::unique_ptr<Ui::CreateRaceTab> ui_;
    RowSetModel* adoqCrtRace_;
};
