#pragma once

#include "ClockOpTab.h"

#include <memory>

namespace Ui {
class SmsDownloadTab;
}

// The SMS Download tab: writes the SMS service's files of a race.
// Choosing the race, the grid DBGrid1 and the three files with their text lists (created and
// freed with the page) come with the SMS download files.
class SmsDownloadTab : public ClockOpTab {
    Q_OBJECT
public:
    explicit SmsDownloadTab(QWidget* parent = nullptr);
    ~SmsDownloadTab() override;

    Link link() const override { return Link::None; }
    // The race list.
    void fillList() override;

private:
    std::unique_ptr<Ui::SmsDownloadTab> ui_;
};
