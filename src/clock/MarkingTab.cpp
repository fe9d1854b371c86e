#include "MarkingTab.h"

#include "ClockOpState.h"
#include "ErrorHandler.h"
#include "RingMarking.h"
#include "RowSetModel.h"
#include "ui_MarkingTab.h"

#include <QDateTime>
#include <QTimer>

MarkingTab::MarkingTab(QWidget* parent) : ClockOpTab(parent), ui_(std::make_unique<Ui::MarkingTab>()), adoqMarking_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqMarking_->setObjectName(QStringLiteral("adoqMarking"));
    makePollTimer("MarkTimer1", [this] { return MarkTimer1Timer(); });

    connect(ui_->cbbRaceCode, &QComboBox::activated, this, [this] { guarded(this, [this] { cbbRaceCodeClick(); }); });
    onEnter(ui_->cbbRaceCode, [this] { cbbRaceCodeClick(); });
}

MarkingTab::~MarkingTab() = default;

void MarkingTab::attached() { prepareGrid(ui_->dbgrdMarking, adoqMarking_); }

void MarkingTab::fillList()
{
    fillChoices(ui_->cbbRaceCode, ClockOp::markingRaceList(dm()));
}

void MarkingTab::cbbRaceCodeClick()
{
    RingMarking::chooseRace(dm(), state(), ui_->cbbRaceCode->currentText());
    showPigeons({});
    pollTimer()->start();
}

bool MarkingTab::MarkTimer1Timer()
{
    const RingPollResult result = RingMarking::poll(dm(), state(), QDateTime::currentDateTime());
    if (showPollResult(result))
        showPigeons(result.acceptedRingNo);
    return result.keepReading;
}

void MarkingTab::showPigeons(const QString& selectRingNo)
{
    QSqlQuery query = RingMarking::markingQuery(dm(), state());
    showRows(ui_->dbgrdMarking, adoqMarking_, query, RingMarking::gridColumns(), false, selectRingNo);
}
