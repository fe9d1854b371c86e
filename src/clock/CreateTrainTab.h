#pragma once

#include "ClockOpTab.h"

#include <memory>

namespace Ui {
class CreateTrainTab;
}

// The CreateTimer Train tab: loads a member's clock with a training.
// Choosing a member (cbbLoftNo_DLTClick), the grid dbgrdCrtTrain and the clock dialogue come
// with the programming of the clocks.
class CreateTrainTab : public ClockOpTab {
    Q_OBJECT
public:
    explicit CreateTrainTab(QWidget* parent = nullptr);
    ~CreateTrainTab() override;

    Link link() const override { return Link::Clock; }
    // The member names.
    void fillList() override;

private:
    std::unique_ptr<Ui::CreateTrainTab> ui_;
};
