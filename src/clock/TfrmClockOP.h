#pragma once

#include "ClockOpTab.h"
#include "DataFolder.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class TdmZAVR;
namespace Ui {
class TfrmClockOP;
}

// The Clock Operation page: six tabs, one operation each. The page opens on no tab; choosing a
// tab releases the serial link of the tab before, stops the poll timers, lets the port settle,
// opens the link the new tab needs and fills the tab's choice list. What the page knows lives in
// the page-wide state (clockOpState()), so a new page carries on where the last one stopped.
class TfrmClockOP : public QWidget {
    Q_OBJECT
public:
    TfrmClockOP(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
    ~TfrmClockOP() override;

    // The index of the tab the user chose last; -1 until one is chosen.
    int activePageIndex() const { return activePage_; }

    // Handlers.
    void FormShow();
    void PageControl1Change(int index);
    // Opens the Device simulator window (Ctrl+Shift+D).
    void showDeviceSimulator();

    // The clock last programmed or uploaded and the site it holds, for the race reports.
    QString clockIdText;
    QString clockSiteText;

    // How long the port is left to settle between two links.
    static constexpr int PortSettleMsecs = 300;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ClockOpTab* tab(int index) const;
    void tabBarClicked(int index);

    TdmZAVR& dm_;
    DataFolder folder_;
    ClockOpContext context_;
    std::unique_ptr<Ui::TfrmClockOP> ui_;
    int activePage_ = -1;
    bool shownOnce_ = false;
};

// The page while it exists (null once it is destroyed).
extern QPointer<TfrmClockOP> frmClockOP;
