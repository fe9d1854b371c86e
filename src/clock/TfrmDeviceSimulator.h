#pragma once

#include "BenchDesk.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QTimer;
class TdmZAVR;
namespace Ui {
class TfrmDeviceSimulator;
}

// The Device simulator window, for training and demonstration without hardware: shows what is
// on COM1 and COM2 of the simulated bench and lets the user connect the ring reader or a
// member's clock, lay a pigeon's ring (or a new or forged one) on the reader and take it away,
// and add arrivals to a clock's current race. It changes bench.json as corvel-bench does and
// shows changes made elsewhere (by the program's pages or by corvel-bench) within a second.
class TfrmDeviceSimulator : public QWidget {
    Q_OBJECT
public:
    TfrmDeviceSimulator(const TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
    ~TfrmDeviceSimulator() override;

    // Shows the program's one simulator window, creating it (as a window of parent) when there
    // is none, and brings it to the front.
    static TfrmDeviceSimulator* showWindow(const TdmZAVR& dm, const DataFolder& folder, QWidget* parent);

    // Reads the bench again and shows it when it changed.
    void refresh();

    // Handlers.
    void btnReaderClick();
    void btnDisconnectClick();
    void cbbRingMemberClick();
    void btnLayPigeonRingClick();
    void btnLayNewRingClick(bool genuine);
    void btnTakeRingClick();
    void cbbClockMemberClick();
    void btnConnectClockClick();
    void cbbArrivalClockClick();
    void btnArriveClick();

    static constexpr int RefreshMsecs = 1000;

private:
    int chosenPort() const;
    std::optional<QString> chosenLoftNo(const QString& name) const;
    void showBench(const BenchState& bench);
    // Runs a handler's change, shows its error, and shows the bench as it now is.
    void change(const std::function<void()>& action);

    const TdmZAVR& dm_;
    BenchDesk desk_;
    std::unique_ptr<Ui::TfrmDeviceSimulator> ui_;
    QTimer* tmrRefresh_;
    QString shownText_;
};
