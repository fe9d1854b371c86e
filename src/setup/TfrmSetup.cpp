#include "TfrmSetup.h"

#include "ClubSetup.h"
#include "CorvelError.h"
#include "DataFolder.h"
#include "DatabaseBackup.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "PageTitle.h"
#include "TdmZAVR.h"
#include "UpDown.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace {

// Letters typed into the abbreviation become capitals.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QComboBox* list(QWidget* parent, const char* name, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

QLabel* fixedText(QWidget* parent, const QString& text)
{
    return new QLabel(text, parent);
}

}  // namespace

TfrmSetup::TfrmSetup(TdmZAVR& dm, const DataFolder& folder, QWidget* parent)
    : QWidget(parent), dm_(dm), folder_(folder), endProgram_([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("frmSetup"));
    QVBoxLayout* page = addPageTitle(this, QStringLiteral("Setup"));

    // The club.
    edtClubName_ = lineEdit(this, "edtClubName", 50);
    edtClubAbbt_ = lineEdit(this, "edtClubAbbt", 10);
    edtClubAbbt_->setValidator(new UpperCaseValidator(edtClubAbbt_));
    cbbClubName_ = list(this, "cbbClubName", {});
    cbbClubName_->setMinimumContentsLength(20);
    auto* club = new QGridLayout;
    club->addWidget(fixedText(this, QStringLiteral("Name :")), 0, 0);
    club->addWidget(edtClubName_, 0, 1, 1, 2);
    club->addWidget(fixedText(this, QStringLiteral("Club Abbreviation :")), 1, 0);
    club->addWidget(edtClubAbbt_, 1, 1);
    club->addWidget(cbbClubName_, 1, 2);
    page->addLayout(club);

    // The address.
    auto* address = new QGroupBox(QStringLiteral("Club address :"), this);
    address->setObjectName(QStringLiteral("grpClubAddress"));
    edtClubStreet_ = lineEdit(address, "edtClubStreet", 50);
    edtClubToneCity_ = lineEdit(address, "edtClubToneCity", 30);
    edtPostCode_ = lineEdit(address, "edtPostCode", 10);
    edtAssociation_ = lineEdit(address, "edtAssociation", 10);
    auto* addressForm = new QFormLayout(address);
    addressForm->addRow(QStringLiteral("Street :"), edtClubStreet_);
    addressForm->addRow(QStringLiteral("Town/City"), edtClubToneCity_);
    addressForm->addRow(QStringLiteral("Post Code :"), edtPostCode_);
    addressForm->addRow(QStringLiteral("Association :"), edtAssociation_);
    page->addWidget(address);

    // Language and unit.
    cbbLangue_ = list(this, "cbbLangue", {QStringLiteral("English")});
    cbbMode_ = list(this, "cbbMode", {QStringLiteral("m/min"), QStringLiteral("yds/min")});
    auto* units = new QFormLayout;
    units->addRow(QStringLiteral("Langue :"), cbbLangue_);
    units->addRow(QStringLiteral("Mode :"), cbbMode_);
    page->addLayout(units);

    // Backups.
    auto* backup = new QGroupBox(QStringLiteral("Backup databases :"), this);
    backup->setObjectName(QStringLiteral("grpBackup"));
    edtDay_ = lineEdit(backup, "edtDay", 0);
    edtDay_->setText(QStringLiteral("0"));
    udDate_ = new UpDown(edtDay_, 0, ClubSetup::BackupDaysStepMax, backup);
    udDate_->setObjectName(QStringLiteral("udDate"));
    btnLoadBk_ = new QPushButton(QStringLiteral("Load Backup"), backup);
    btnLoadBk_->setObjectName(QStringLiteral("btnLoadBk"));
    btnBackNow_ = new QPushButton(QStringLiteral("Back Now"), backup);
    btnBackNow_->setObjectName(QStringLiteral("btnBackNow"));
    auto* backupGrid = new QGridLayout(backup);
    backupGrid->addWidget(fixedText(backup, QStringLiteral("What is the maximum age")), 0, 0, 1, 3);
    backupGrid->addWidget(fixedText(backup, QStringLiteral("of then databases backup ? ")), 1, 0, 1, 3);
    backupGrid->addWidget(edtDay_, 2, 0);
    backupGrid->addWidget(udDate_, 2, 1);
    backupGrid->addWidget(fixedText(backup, QStringLiteral("Day")), 2, 2);
    backupGrid->addWidget(btnLoadBk_, 3, 0);
    backupGrid->addWidget(btnBackNow_, 3, 1, 1, 2);
    page->addWidget(backup);

    // The program.
    auto* system = new QGroupBox(QStringLiteral("System datail :"), this);
    system->setObjectName(QStringLiteral("grpSystem"));
    auto* systemForm = new QFormLayout(system);
    systemForm->addRow(QStringLiteral("Program Version :"), fixedText(system, QStringLiteral("V6.0")));
    systemForm->addRow(QStringLiteral("Corvel V6  Vervision :"), fixedText(system, QStringLiteral("V6.0")));
    page->addWidget(system);
    page->addStretch(1);

    connect(cbbClubName_, &QComboBox::activated, this, &TfrmSetup::cbbClubNameClick);
    connect(btnBackNow_, &QPushButton::clicked, this, &TfrmSetup::btnBackNowClick);
    connect(btnLoadBk_, &QPushButton::clicked, this, &TfrmSetup::btnLoadBkClick);
}

void TfrmSetup::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous() || filled_)
        return;
    filled_ = true;
    FormShow();
}

void TfrmSetup::FormShow()
{
    cbbClubName_->clear();
    guarded(this, [this] {
        cbbClubName_->addItems(ClubSetup::clubListItems(dm_));
        cbbClubName_->setCurrentIndex(-1);
        const ClubSettings s = dm_.clubSettings();
        if (!s.exists)
            return;
        edtClubName_->setText(s.ClubName);
        edtClubAbbt_->setText(s.ClubID);
        edtClubStreet_->setText(s.Street);
        edtClubToneCity_->setText(s.City);
        edtPostCode_->setText(s.PostCode);
        // A stored index the list does not have keeps the list's default.
        if (s.Language >= 0 && s.Language < cbbLangue_->count())
            cbbLangue_->setCurrentIndex(s.Language);
        if (s.Mode >= 0 && s.Mode < cbbMode_->count())
            cbbMode_->setCurrentIndex(s.Mode);
        edtAssociation_->setText(s.AssociationCode);
        edtDay_->setText(QString::number(s.DBBackupDays));
    });
    cbbClubName_->setFocus();
}

void TfrmSetup::cbbClubNameClick(int index)
{
    const QString chosen = cbbClubName_->itemText(index);
    if (chosen == ClubSetup::CustomClub) {
        edtClubName_->setEnabled(true);
        edtClubAbbt_->setEnabled(true);
        edtClubName_->setFocus();
        return;
    }
    guarded(this, [this, &chosen] {
        const auto club = ClubSetup::findClubByName(dm_, chosen);
        if (!club)
            return;
        edtClubName_->setText(club->ClubName);
        edtClubAbbt_->setText(club->ClubID);
        edtClubName_->setEnabled(false);
        edtClubAbbt_->setEnabled(false);
    });
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
    input.clubListText = cbbClubName_->currentText();
    input.ClubName = edtClubName_->text();
    input.ClubID = edtClubAbbt_->text();
    input.Street = edtClubStreet_->text();
    input.City = edtClubToneCity_->text();
    input.PostCode = edtPostCode_->text();
    input.AssociationCode = edtAssociation_->text();
    input.Language = cbbLangue_->currentIndex();
    input.Mode = cbbMode_->currentIndex();
    input.backupDaysText = edtDay_->text();
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
        edtDay_->setFocus();
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
