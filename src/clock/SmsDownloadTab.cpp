#include "SmsDownloadTab.h"

#include "ClockOpState.h"
#include "CorvelError.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "ReadOnlyGrid.h"
#include "RowSetModel.h"
#include "SmsFiles.h"
#include "ui_SmsDownloadTab.h"

SmsDownloadTab::SmsDownloadTab(QWidget* parent)
    : ClockOpTab(parent), ui_(std::make_unique<Ui::SmsDownloadTab>()), adoqSMSV6_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqSMSV6_->setObjectName(QStringLiteral("adoqSMSV6"));
    adoqSMSV6_->setColumns(SmsFiles::entryColumns());
    setUpReadOnlyGrid(ui_->DBGrid1, adoqSMSV6_);
    showColumns(ui_->DBGrid1, SmsFiles::entryColumns());

    connectGuarded(ui_->cbbRaceCodeSMSV6, &QComboBox::activated, this, &SmsDownloadTab::cbbRaceCodeSMSV6Click);
    onEnter(ui_->cbbRaceCodeSMSV6, [this] { cbbRaceCodeSMSV6Click(); });
}

SmsDownloadTab::~SmsDownloadTab() = default;

void SmsDownloadTab::fillList()
{
    fillChoices(ui_->cbbRaceCodeSMSV6, ClockOp::raceList(dm()));
}

void SmsDownloadTab::cbbRaceCodeSMSV6Click()
{
    ClockOpState& s = state();
    s.raceCode = ClockOp::raceCodeOfChoice(ui_->cbbRaceCodeSMSV6->currentText());
    if (s.raceCode.isEmpty())
        throw CorvelError(QString::fromLatin1(SmsFiles::NoRaceMessage));
    QSqlQuery entries = SmsFiles::entryQuery(dm(), s.raceCode);
    adoqSMSV6_->setQueryResult(entries);

    // Told once for the race, also when a later file could not be written.
    int replaced = 0;
    const auto tellReplaced = [&] {
        if (replaced > 0)
            Dialogs::warning(this, QString::fromLatin1(SmsFiles::ReplacedCharactersMessage));
    };
    try {
        for (const SmsFiles::File file : SmsFiles::AllFiles) {
            s.smsFileName = Dialogs::getSaveFileName(this, QString(), SmsFiles::dialogFilter(file), SmsFiles::fileName(file));
            if (!s.smsFileName.isEmpty())
                replaced += SmsFiles::writeFile(dm(), file, s.raceCode, s.smsFileName);
        }
    } catch (...) {
        tellReplaced();
        throw;
    }
    tellReplaced();
}
