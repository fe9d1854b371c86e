#include "TfrmSetup.h"

#include "ClubSetup.h"
#include "CorvelError.h"
#include "DataFolder.h"
#include "DatabaseBackup.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FieldLimits.h"
#include "KeyFilter.h"
#include "TdmZAVR.h"
#include "ui_TfrmSetup.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <algorithm>

TfrmSetup::TfrmSetup(TdmZAVR& dm, const DataFolder& folder, QWidget* parent)
    : QWidget(parent), dm_(dm), folder_(folder), endProgram_([] { QCoreApplication::exit(0); }),
      ui_(std::make_unique<Ui::TfrmSetup>())
{
    ui_->setupUi(this);
    typeInCapitals(ui_->edtClubAbbt);
    const QString table = QStringLiteral("ZAVR_ClubData");
    limitToColumns({{ui_->edtClubName, table, QStringLiteral("ClubName"), fieldCaption(ui_->lblClubName)},
                    {ui_->edtClubAbbt, table, QStringLiteral("ClubID"), fieldCaption(ui_->lblClubAbbt)},
                    {ui_->edtClubStreet, table, QStringLiteral("Street"), fieldCaption(ui_->lblClubStreet)},
                    {ui_->edtClubToneCity, table, QStringLiteral("City"), fieldCaption(ui_->lblClubToneCity)},
                    {ui_->edtPostCode, table, QStringLiteral("PostCode"), fieldCaption(ui_->lblPostCode)},
                    {ui_->edtAssociation, table, QStringLiteral("AssociationCode"), fieldCaption(ui_->lblAssociation)}});
    // The two backup buttons are of one size.
    const int buttonWidth = std::max(ui_->btnLoadBk->sizeHint().width(), ui_->btnBackNow->sizeHint().width());
    ui_->btnLoadBk->setMinimumWidth(buttonWidth);
    ui_->btnBackNow->setMinimumWidth(buttonWidth);
    ui_->udDate->setAssociate(ui_->edtDay, 0, ClubSetup::BackupDaysStepMax);
    connectGuarded(ui_->cbbClubName, &QComboBox::activated, this, &TfrmSetup::cbbClubNameClick);
    connectGuarded(ui_->btnBackNow, &QPushButton::clicked, this, &TfrmSetup::btnBackNowClick);
    connectGuarded(ui_->btnLoadBk, &QPushButton::clicked, this, &TfrmSetup::btnLoadBkClick);
    callOnFirstShow(this, [this] { FormShow(); });
}

TfrmSetup::~TfrmSetup() = default;

void TfrmSetup::FormShow()
{
    ui_->cbbClubName->clear();
    ui_->cbbClubName->setFocus();
    ui_->cbbClubName->addItems(ClubSetup::clubListItems(dm_));
    ui_->cbbClubName->setCurrentIndex(-1);
    const ClubSettings s = dm_.clubSettings();
    if (!s.exists)
        return;
    ui_->edtClubName->setText(s.ClubName);
    ui_->edtClubAbbt->setText(s.ClubID);
    ui_->edtClubStreet->setText(s.Street);
    ui_->edtClubToneCity->setText(s.City);
    ui_->edtPostCode->setText(s.PostCode);
    // A stored index the list does not have keeps the list's default.
    if (s.Language >= 0 && s.Language < ui_->cbbLangue->count())
        ui_->cbbLangue->setCurrentIndex(s.Language);
    if (s.Mode >= 0 && s.Mode < ui_->cbbMode->count())
        ui_->cbbMode->setCurrentIndex(s.Mode);
    ui_->edtAssociation->setText(s.AssociationCode);
    ui_->edtDay->setText(QString::number(s.DBBackupDays));
}

void TfrmSetup::cbbClubNameClick(int index)
{
    const QString chosen = ui_->cbbClubName->itemText(index);
    if (chosen == ClubSetup::CustomClub) {
        ui_->edtClubName->setEnabled(true);
        ui_->edtClubAbbt->setEnabled(true);
        ui_->edtClubName->setFocus();
        return;
    }
    const auto club = ClubSetup::findClubByName(dm_, chosen);
    if (!club)
        return;
    ui_->edtClubName->setText(club->ClubName);
    ui_->edtClubAbbt->setText(club->ClubID);
    ui_->edtClubName->setEnabled(false);
    ui_->edtClubAbbt->setEnabled(false);
}

bool TfrmSetup::FormClose()
{
    if (restored_)
        return true;
    if (!dm_.isOpen()) {
        // Nothing can be stored; keeping the page would only trap the user on it.
        showError(this, QStringLiteral("The club settings were not saved: the club database is not open."));
        return true;
    }
    ClubSetup::ClubSetupInput input;
    input.clubListText = ui_->cbbClubName->currentText();
    input.ClubName = ui_->edtClubName->text();
    input.ClubID = ui_->edtClubAbbt->text();
    input.Street = ui_->edtClubStreet->text();
    input.City = ui_->edtClubToneCity->text();
    input.PostCode = ui_->edtPostCode->text();
    input.AssociationCode = ui_->edtAssociation->text();
    input.Language = ui_->cbbLangue->currentIndex();
    input.Mode = ui_->cbbMode->currentIndex();
    input.backupDaysText = ui_->edtDay->text();
    const ClubSetup::LeaveOutcome outcome = ClubSetup::saveOnLeave(dm_, input);
    if (outcome.duplicateAbbreviation)
        Dialogs::warning(this, ClubSetup::DuplicateAbbreviationMessage);
    if (outcome.failure.isEmpty())
        return true;
    // The page stays so that the value can be corrected, unless the user leaves without saving.
    return Dialogs::question(this, ClubSetup::leaveWithoutSavingQuestion(outcome.failure)) == QMessageBox::Yes;
}

void TfrmSetup::closeEvent(QCloseEvent* event)
{
    if (FormClose()) {
        event->accept();
    } else {
        event->ignore();
        ui_->edtDay->setFocus();
    }
}

void TfrmSetup::btnBackNowClick()
{
    const QString chosen = Dialogs::getSaveFileName(this, QString(), DatabaseBackup::BackupFileFilter);
    if (chosen.isEmpty())
        return;
    try {
        DatabaseBackup::backupNow(dm_, DatabaseBackup::backupNowTarget(chosen, QDate::currentDate()));
    } catch (const CorvelError&) {
        Dialogs::warning(this, DatabaseBackup::BackupFailedMessage);
        return;
    }
    Dialogs::information(this, DatabaseBackup::BackupSucceededMessage);
}

void TfrmSetup::btnLoadBkClick()
{
    const QString source = Dialogs::getOpenFileName(this, QString(), DatabaseBackup::BackupFileFilter, folder_.backupFolder());
    if (source.isEmpty())
        return;
    const DatabaseBackup::RestoreResult result = DatabaseBackup::restoreDatabase(dm_, folder_, source);
    if (!result.restored) {
        Dialogs::warning(this, DatabaseBackup::restoreFailureMessage(result));
        return;
    }
    // The program ends and opens the restored database when it is started again; nothing on this
    // page may be written into it.
    restored_ = true;
    setEnabled(false);
    Dialogs::information(this, DatabaseBackup::RestoreSucceededMessage);
    if (endProgram_)
        endProgram_();
}
