#include "MatchingTab.h"

#include "ClockOpState.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "RingMatching.h"
#include "RowSetModel.h"
#include "ui_MatchingTab.h"

#include <QDateTime>
#include <QTimer>

MatchingTab::MatchingTab(QWidget* parent) : ClockOpTab(parent), ui_(std::make_unique<Ui::MatchingTab>()), adoqMatching_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqMatching_->setObjectName(QStringLiteral("adoqMatching"));
    makePollTimer("MatchTimer1", [this] { return MatchTimer1Timer(); });

    connect(ui_->cbbLoftNo, &QComboBox::activated, this, [this] { guarded(this, [this] { cbbLoftNoClick(); }); });
    onEnter(ui_->cbbLoftNo, [this] { cbbLoftNoClick(); });
    connect(ui_->cbbPRingNo, &QComboBox::activated, this, &MatchingTab::cbbPRingNoClick);
    onEnter(ui_->cbbPRingNo, [this] { cbbPRingNoClick(); });
    connect(ui_->dbgrdMatching, &QTableView::clicked, this, &MatchingTab::dbgrdMatchingCellClick);
}

MatchingTab::~MatchingTab() = default;

void MatchingTab::attached() { prepareGrid(ui_->dbgrdMatching, adoqMatching_); }

void MatchingTab::fillList()
{
    fillChoices(ui_->cbbLoftNo, ClockOp::memberNames(dm()));
}

void MatchingTab::cbbLoftNoClick()
{
    if (!RingMatching::chooseMember(dm(), state(), ui_->cbbLoftNo->currentText()))
        return;
    showPigeons({});
    ui_->cbbPRingNo->clear();
    for (int r = 0; r < adoqMatching_->rowCount(); ++r)
        ui_->cbbPRingNo->addItem(adoqMatching_->value(r, QStringLiteral("PRingNo")).toString());
    ui_->cbbPRingNo->setCurrentIndex(-1);
}

void MatchingTab::cbbPRingNoClick() { pollTimer()->start(); }

void MatchingTab::dbgrdMatchingCellClick(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    ui_->cbbPRingNo->setEditText(adoqMatching_->value(index.row(), QStringLiteral("PRingNo")).toString());
}

bool MatchingTab::MatchTimer1Timer()
{
    const auto ask = [this](const QString& question) { return Dialogs::question(this, question) == QMessageBox::Yes; };
    const RingPollResult result =
        RingMatching::poll(dm(), state(), ui_->cbbPRingNo->currentText(), ask, QDateTime::currentDateTime());
    if (showPollResult(result))
        showPigeons(ui_->cbbPRingNo->currentText());
    return result.keepReading;
}

void MatchingTab::showPigeons(const QString& selectRingNo)
{
    QSqlQuery query = RingMatching::matchingQuery(dm(), state().currentLoftNo);
    showRows(ui_->dbgrdMatching, adoqMatching_, query, RingMatching::gridColumns(), true, selectRingNo);
}
