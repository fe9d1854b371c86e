#pragma once

#include "ClockOpTab.h"

#include <memory>

namespace Ui {
class CreateTrainTab;
}

// The CreateTimer Train tab: loads a member's clock with a training of all the member's eRinged
// pigeons.
class CreateTrainTab : public ClockOpTab {
    Q_OBJECT
public:
    explicit CreateTrainTab(QWidget* parent = nullptr);
    ~CreateTrainTab() override;

    Link link() const override { return Link::Clock; }
    // The member names.
    void fillList() override;

    // Choosing a member programs the training into the clock on the port.
    void cbbLoftNo_DLTClick();

private:
    void attached() override;
    void showPigeons(bool ordered);

    std::unique_ptr<Ui::CreateTrainTab> ui_;
    RowSetModel* adoqCrtTrain_;
};
