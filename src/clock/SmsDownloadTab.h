#pragma once

#include "ClockOpTab.h"

#include <memory>

namespace Ui {
class SmsDownloadTab;
}

// The SMS Download tab: choosing a race shows its entries and writes the SMS service's three files
// of the race, asking for each file's name in turn.
class SmsDownloadTab : public ClockOpTab {
    Q_OBJECT
public:
    explicit SmsDownloadTab(QWidget* parent = nullptr);
    ~SmsDownloadTab() override;

    Link link() const override { return Link::None; }
    // The race list.
    void fillList() override;

    // Shows the chosen race's entries and writes its files: a cancelled dialog skips its file only;
    // an error ends the files not yet written.
    void cbbRaceCodeSMSV6Click();

private:
    std::unique_ptr<Ui::SmsDownloadTab> ui_;
    RowSetModel* adoqSMSV6_;
};
