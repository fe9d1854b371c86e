#include "TfrmDeviceSimulator.h"

#include "ClockOpLogic.h"
#include "CorvelError.h"
#include "ErrorHandler.h"
#include "TdmZAVR.h"
#include "ui_TfrmDeviceSimulator.h"

#include <QTimer>

namespace {

QPointer<TfrmDeviceSimulator> simulatorWindow;

QString portText(int index, const BenchPort& port)
{
    QString text = QStringLiteral("COM%1: ").arg(index + 1);
    if (port.device == BenchDevice::RingReader)
        text += QStringLiteral("ring reader");
    else if (port.device == BenchDevice::Clock)
        text += QStringLiteral("clock ") + port.clock;
    else
        text += QStringLiteral("nothing");
    if (port.fault)
        text += QStringLiteral(", faulty");
    return text;
}

// Refills a choice list, keeping the choice when it is still offered.
void refill(QComboBox* list, const QStringList& items)
{
    const QString chosen = list->currentText();
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(static_cast<int>(items.indexOf(chosen)));
}

}  // namespace

TfrmDeviceSimulator::TfrmDeviceSimulator(const TdmZAVR& dm, const DataFolder& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), dm_(dm), desk_(dm, folder), ui_(std::make_unique<Ui::TfrmDeviceSimulator>()),
      tmrRefresh_(new QTimer(this))
{
    ui_->setupUi(this);
    tmrRefresh_->setObjectName(QStringLiteral("tmrRefresh"));
    tmrRefresh_->setInterval(RefreshMsecs);
    connect(tmrRefresh_, &QTimer::timeout, this, &TfrmDeviceSimulator::refresh);

    const auto handle = [this](QPushButton* button, void (TfrmDeviceSimulator::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { change([this, handler] { (this->*handler)(); }); });
    };
    handle(ui_->btnReader, &TfrmDeviceSimulator::btnReaderClick);
    handle(ui_->btnDisconnect, &TfrmDeviceSimulator::btnDisconnectClick);
    handle(ui_->btnLayPigeonRing, &TfrmDeviceSimulator::btnLayPigeonRingClick);
    handle(ui_->btnTakeRing, &TfrmDeviceSimulator::btnTakeRingClick);
    handle(ui_->btnConnectClock, &TfrmDeviceSimulator::btnConnectClockClick);
    handle(ui_->btnArrive, &TfrmDeviceSimulator::btnArriveClick);
    connect(ui_->btnLayNewRing, &QPushButton::clicked, this, [this] { change([this] { btnLayNewRingClick(true); }); });
    connect(ui_->btnLayForgedRing, &QPushButton::clicked, this, [this] { change([this] { btnLayNewRingClick(false); }); });
    connect(ui_->btnArrivalNow, &QPushButton::clicked, this,
            [this] { ui_->dtpArrival->setDateTime(QDateTime::currentDateTime()); });
    connect(ui_->cbbRingMember, &QComboBox::activated, this, [this] { guarded(this, [this] { cbbRingMemberClick(); }); });
    connect(ui_->cbbClockMember, &QComboBox::activated, this, [this] { guarded(this, [this] { cbbClockMemberClick(); }); });
    connect(ui_->cbbArrivalClock, &QComboBox::activated, this, [this] { guarded(this, [this] { cbbArrivalClockClick(); }); });

    guarded(this, [this] {
        const QStringList members = ClockOp::memberNames(dm_);
        refill(ui_->cbbRingMember, members);
        refill(ui_->cbbClockMember, members);
    });
    ui_->dtpArrival->setDateTime(QDateTime::currentDateTime());
    ui_->lblLibraryNote->setText(desk_.libraryNote());
    ui_->lblLibraryNote->setVisible(!ui_->lblLibraryNote->text().isEmpty());
    refresh();
    tmrRefresh_->start();
}

TfrmDeviceSimulator::~TfrmDeviceSimulator() = default;

TfrmDeviceSimulator* TfrmDeviceSimulator::showWindow(const TdmZAVR& dm, const DataFolder& folder, QWidget* parent)
{
    if (!simulatorWindow) {
        simulatorWindow = new TfrmDeviceSimulator(dm, folder, parent);
        simulatorWindow->setAttribute(Qt::WA_DeleteOnClose);
        // The program ends with its main window, whether or not this one is open.
        simulatorWindow->setAttribute(Qt::WA_QuitOnClose, false);
    }
    simulatorWindow->show();
    simulatorWindow->raise();
    simulatorWindow->activateWindow();
    return simulatorWindow;
}

void TfrmDeviceSimulator::refresh()
{
    QString text;
    std::optional<BenchState> bench;
    try {
        text = desk_.describe();
        bench = desk_.state();
    } catch (const CorvelError& e) {
        text = e.text();
    }
    if (text == shownText_)
        return;
    shownText_ = text;
    ui_->txtBench->setPlainText(text);
    if (bench)
        showBench(*bench);
}

void TfrmDeviceSimulator::showBench(const BenchState& bench)
{
    ui_->lblCom1->setText(portText(0, bench.ports[0]));
    ui_->lblCom2->setText(portText(1, bench.ports[1]));
    ui_->lblRingOnReader->setText(QStringLiteral("Ring on the reader: ")
                                  + (bench.ringOnReader.isEmpty() ? QStringLiteral("none") : bench.ringOnReader));
    refill(ui_->cbbArrivalClock, desk_.clocksInRace());
}

void TfrmDeviceSimulator::change(const std::function<void()>& action)
{
    guarded(this, action);
    refresh();
}

int TfrmDeviceSimulator::chosenPort() const { return ui_->cbbPort->currentIndex() + 1; }

std::optional<QString> TfrmDeviceSimulator::chosenLoftNo(const QString& name) const { return ClockOp::loftNoOfName(dm_, name); }

void TfrmDeviceSimulator::btnReaderClick() { desk_.connectReader(chosenPort()); }

void TfrmDeviceSimulator::btnDisconnectClick() { desk_.disconnect(chosenPort()); }

void TfrmDeviceSimulator::cbbRingMemberClick()
{
    ui_->cbbRingPigeon->clear();
    const std::optional<QString> loftNo = chosenLoftNo(ui_->cbbRingMember->currentText());
    if (!loftNo)
        return;
    for (const BenchDesk::Pigeon& p : desk_.pigeonsOf(*loftNo))
        ui_->cbbRingPigeon->addItem(p.ringNo + (p.hasERing() ? QStringLiteral("  (eRing %1)").arg(p.eRing) : QStringLiteral("  (no eRing)")),
                                    p.ringNo);
}

void TfrmDeviceSimulator::btnLayPigeonRingClick()
{
    const QString ringNo = ui_->cbbRingPigeon->currentData().toString();
    if (ringNo.isEmpty())
        throw CorvelError(QStringLiteral("Choose a member and one of its pigeons first."));
    desk_.layPigeonRing(ringNo);
}

void TfrmDeviceSimulator::btnLayNewRingClick(bool genuine) { desk_.layNewRing(genuine); }

void TfrmDeviceSimulator::btnTakeRingClick() { desk_.takeRing(); }

void TfrmDeviceSimulator::cbbClockMemberClick()
{
    QStringList clocks;
    if (const std::optional<QString> loftNo = chosenLoftNo(ui_->cbbClockMember->currentText()))
        clocks = dm_.texts(QStringLiteral("select ClockID from ZAVR_LoftClocks where LoftNo = ? order by rowid"), {*loftNo});
    ui_->cbbClockNo->clear();
    ui_->cbbClockNo->addItems(clocks);
}

void TfrmDeviceSimulator::btnConnectClockClick()
{
    const QString clockNo = ui_->cbbClockNo->currentText().trimmed();
    if (clockNo.isEmpty())
        throw CorvelError(QStringLiteral("Choose or type the clock's number first."));
    desk_.connectClock(chosenPort(), clockNo);
}

void TfrmDeviceSimulator::cbbArrivalClockClick()
{
    ui_->cbbArrivalPigeon->clear();
    for (const QString& eRing : desk_.arrivalERings(ui_->cbbArrivalClock->currentText())) {
        const QString ringNo = desk_.ringNoOfERing(eRing);
        ui_->cbbArrivalPigeon->addItem(ringNo.isEmpty() ? eRing : eRing + QStringLiteral("  (") + ringNo + QLatin1Char(')'), eRing);
    }
    ui_->dtpArrival->setDateTime(QDateTime::currentDateTime());
}

void TfrmDeviceSimulator::btnArriveClick()
{
    const QString clockNo = ui_->cbbArrivalClock->currentText();
    const QString eRing = ui_->cbbArrivalPigeon->currentData().toString();
    if (clockNo.isEmpty() || eRing.isEmpty())
        throw CorvelError(QStringLiteral("Choose a clock in a race and one of its pigeons first."));
    desk_.addArrival(clockNo, eRing, ui_->dtpArrival->dateTime());
}
