#pragma once

#include "ClockOpTab.h"

#include <memory>

namespace Ui {
class UploadResultTab;
}

struct ClockRace;

// The UpLoad Timer Result tab: reads the arrivals of the members' clocks after a race, one clock
// after another, ranks the race and prints each member's race list and the rank report.
class UploadResultTab : public ClockOpTab {
    Q_OBJECT
public:
    explicit UploadResultTab(QWidget* parent = nullptr);
    ~UploadResultTab() override;

    Link link() const override { return Link::Clock; }
    // The race list.
    void fillList() override;

    // Choosing the race shows its arrivals and starts polling the port for a clock.
    void cbbTimer_UPLClick();
    // One poll of the port; returns whether polling runs on.
    bool ClockUPLTimer1Timer();
    // Prints the rank report.
    void btnPrintClick();

private:
    void attached() override;
    void showResults(const ClockRace& race, bool byArrival);

    std::unique_ptr<Ui::UploadResultTab> ui_;
    RowSetModel* adoqTimerResult_;
};
