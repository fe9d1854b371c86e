#pragma once

#include <QWidget>
#include <memory>

class DataFolder;
class QTableView;
class RowSetModel;
class TdmZAVR;

namespace Ui {
class ClockListView;
}

// The clock list of the selected member on the Member page (pnlClockList): the member's clocks,
// the add-clock box that asks the clock on the serial port for its serial number and registers
// it, and the deletion of a clock.
class ClockListView : public QWidget {
    Q_OBJECT
public:
    // `sortText` is the page's sort text, shared by its grids.
    ClockListView(TdmZAVR& dm, const DataFolder& folder, QString* sortText, QWidget* parent = nullptr);
    ~ClockListView() override;

    RowSetModel* adoqClockList() const { return adoqClockList_; }
    QTableView* dbgrdClockList() const;

    // Shows the clock list of the member, without the add-clock box.
    void open(const QString& loftNo, const QString& loftName);

    // Handlers.
    void btnClockNewClick();
    void btnDiscoverClick();
    void btnClockOKClick();
    void btnClockCanClick();
    void rgClockListClick(int index);

signals:
    // A clock was registered or deleted: the member list's clock counts changed.
    void clocksChanged();

private:
    void refresh();
    QString selectedClockId() const;

    TdmZAVR& dm_;
    const DataFolder& folder_;
    std::unique_ptr<Ui::ClockListView> ui_;
    RowSetModel* adoqClockList_;
    QString loftNo_;  // the member whose clocks are shown
    QString loftName_;
};
