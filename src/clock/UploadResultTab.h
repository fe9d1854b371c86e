#pragma once

#include "ClockOpTab.h"

#include <memory>

namespace Ui {
class UploadResultTab;
}

// The UpLoad Timer Result tab: reads the arrivals of the members' clocks after a race.
// Choosing the race, the grid dbgrdTimerUPL, its summary and Print button, and the poll timer
// ClockUPLTimer1 (made with makePollTimer) come with the upload of clock results.
class UploadResultTab : public ClockOpTab {
    Q_OBJECT
public:
    explicit UploadResultTab(QWidget* parent = nullptr);
    ~UploadResultTab() override;

    Link link() const override { return Link::Clock; }
    // The race list.
    void fillList() override;

private:
    std::unique_ptr<Ui::UploadResultTab> ui_;
};
