#include "RingListView.h"

#include "ColourList.h"
#include "Dialogs.h"
#include "DisplayRules.h"
#include "ErrorHandler.h"
#include "FieldLimits.h"
#include "KeyFilter.h"
#include "ListColumns.h"
#include "ListReports.h"
#include "MemberLogic.h"
#include "PigeonSpreadsheet.h"
#include "ReadOnlyGrid.h"
#include "ReportPreview.h"
#include "RingLogic.h"
#include "RowSetModel.h"
#include "SpreadsheetWriter.h"
#include "TdmZAVR.h"
#include "ui_RingListView.h"

#include <QFileInfo>
#include <QFocusEvent>
#include <QMenu>
#include <QProgressDialog>

RingListView::RingListView(TdmZAVR& dm, QString* sortText, QWidget* parent)
    : QWidget(parent), dm_(dm), ui_(std::make_unique<Ui::RingListView>()), adoqDBGridMRing_(new RowSetModel(this)),
      pmFeatherColor_(new QMenu(this))
{
    ui_->setupUi(this);
    adoqDBGridMRing_->setObjectName(QStringLiteral("adoqDBGridMRing"));
    setUpReadOnlyGrid(ui_->dbgrdMemRing, adoqDBGridMRing_);
    enableTitleSort(ui_->dbgrdMemRing, adoqDBGridMRing_, sortText);
    setFocusProxy(ui_->cbbCountryRingCode);

    ui_->cbbCountryRingCode->lineEdit()->setMaxLength(4);
    typeInCapitals(ui_->cbbCountryRingCode->lineEdit());
    ui_->combBYear->lineEdit()->setMaxLength(2);
    ui_->combBYear->setCompleter(nullptr);  // "2" stays "2", not the first year of the list
    ui_->edtRegLetter->setValidator(new KeyFilterValidator(
        true, [this](QChar c) { return letterKeyAllowed(countryAid_, c); }, ui_->edtRegLetter));
    ui_->edtRegLetter->installEventFilter(this);
    ui_->edtRegNum->setValidator(new KeyFilterValidator(
        false, [](QChar c) { return isDecimalDigit(c) || c == QLatin1Char('-'); }, ui_->edtRegNum));
    ui_->edtUpRegNum->setValidator(new KeyFilterValidator(false, isDecimalDigit, ui_->edtUpRegNum));
    // The upper number keeps its place while hidden, so the form does not move when it shows.
    for (QWidget* w : std::initializer_list<QWidget*>{ui_->edtUpRegNum, ui_->lblUpRegNum}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }

    limitToColumns({{ui_->edtColorCode, QStringLiteral("ZAVR_FeatherColor"), QStringLiteral("ColorType"), fieldCaption(ui_->lblColorCode)},
                    {ui_->edtColorName, QStringLiteral("ZAVR_FeatherColor"), QStringLiteral("FeathColor"), fieldCaption(ui_->lblColorName)}});
    pmFeatherColor_->setObjectName(QStringLiteral("pmFeatherColor"));
    pmFeatherColor_->addActions({ui_->AAdd1, ui_->DDelete1, ui_->Eexit1});  // "&E exit" only closes the menu
    for (QWidget* w : std::initializer_list<QWidget*>{ui_->cbbBColour, ui_->cbbBColour->lineEdit()}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { pmFeatherColor_->popup(w->mapToGlobal(at)); });
    }

    connectGuarded(ui_->butPrtRingList, &QPushButton::clicked, this, &RingListView::butPrtRingListClick);
    connectGuarded(ui_->btnNew, &QPushButton::clicked, this, &RingListView::btnNewClick);
    connectGuarded(ui_->btnNew2, &QPushButton::clicked, this, &RingListView::btnNew2Click);
    connectGuarded(ui_->btnOK_Ring, &QPushButton::clicked, this, &RingListView::btnOK_RingClick);
    connectGuarded(ui_->btnCan_Ring, &QPushButton::clicked, this, &RingListView::btnCan_RingClick);
    connectGuarded(ui_->dbgrdMemRing, &QTableView::clicked, this, &RingListView::dbgrdMemRingCellClick);
    connectGuarded(ui_->btnPigImport, &QPushButton::clicked, this, &RingListView::btnPigImportClick);
    connectGuarded(ui_->btnPigExport, &QPushButton::clicked, this, &RingListView::btnPigExportClick);
    connectGuarded(ui_->AAdd1, &QAction::triggered, this, &RingListView::AAdd1Click);
    connectGuarded(ui_->DDelete1, &QAction::triggered, this, &RingListView::DDelete1Click);
    connectGuarded(ui_->btnFColorSave, &QPushButton::clicked, this, &RingListView::btnFColorSaveClick);
    connectGuarded(ui_->btnFColorCancel, &QPushButton::clicked, this, &RingListView::btnFColorCancelClick);
    // The entry aids follow the user's choice or typing, not a pigeon loaded for editing.
    connectGuarded(ui_->cbbCountryRingCode, &QComboBox::activated, this, &RingListView::cbbCountryRingCodeChange);
    connectGuarded(ui_->cbbCountryRingCode->lineEdit(), &QLineEdit::textEdited, this,
                   &RingListView::cbbCountryRingCodeChange);
}

RingListView::~RingListView() = default;

QTableView* RingListView::dbgrdMemRing() const
{
    return ui_->dbgrdMemRing;
}

void RingListView::fillCountries(const QStringList& codes)
{
    ui_->cbbCountryRingCode->clear();
    ui_->cbbCountryRingCode->addItems(codes);
    ui_->cbbCountryRingCode->setCurrentIndex(-1);
}

void RingListView::fillColours()
{
    ui_->cbbBColour->clear();
    ui_->cbbBColour->addItem(QString::fromLatin1(DisplayRules::OtherColourName));
    ui_->cbbBColour->addItems(colourNames(dm_));
    ui_->cbbBColour->setCurrentIndex(0);
}

void RingListView::fillBirthYears(const QDate& today)
{
    ui_->combBYear->clear();
    ui_->combBYear->addItems(birthYears(today));
    ui_->combBYear->setEditText(twoDigitYear(today));
}

void RingListView::open(const QString& loftNo, const QString& loftName)
{
    loftNo_ = loftNo;
    loftName_ = loftName;
    ui_->edtUpRegNum->clear();
    ui_->edtUpRegNum->hide();
    ui_->lblUpRegNum->hide();
    setFocus();
    refresh(QString());
}

void RingListView::refresh(const QString& selectRingNo)
{
    adoqDBGridMRing_->applySort(QString());
    adoqDBGridMRing_->clear();
    ui_->lblRingCnt->setText(countText(0));
    // The colour names are read again with the list.
    columns_ = ListColumns::ringList(dm_);
    adoqDBGridMRing_->setColumns(columns_);
    QSqlQuery query = ringListQuery(dm_, loftNo_);
    adoqDBGridMRing_->setQueryResult(query);
    // The grid shows the described fields in their order; the rows keep every field for the report.
    showColumns(ui_->dbgrdMemRing, columns_);
    ui_->lblRingCnt->setText(countText(adoqDBGridMRing_->rowCount()));
    if (!selectRingNo.isEmpty())
        selectRow(ui_->dbgrdMemRing, adoqDBGridMRing_->findRow(QStringLiteral("PRingNo"), selectRingNo),
                  adoqDBGridMRing_->fieldIndex(QStringLiteral("PRingNo")));
    ui_->dbgrdMemRing->resizeColumnsToContents();
}

QString RingListView::selectedRingNo() const
{
    const int row = ui_->dbgrdMemRing->currentIndex().row();
    return row < 0 ? QString() : adoqDBGridMRing_->value(row, QStringLiteral("PRingNo")).toString();
}

void RingListView::setKeyFieldsEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{ui_->cbbCountryRingCode, ui_->combBYear, ui_->edtRegLetter, ui_->edtRegNum})
        w->setEnabled(enabled);
}

void RingListView::prepareInsert(bool range)
{
    setKeyFieldsEnabled(true);
    ui_->edtRegLetter->clear();
    ui_->edtRegNum->clear();
    ui_->mmoComment->clear();
    ui_->cbbCountryRingCode->setFocus();
    ui_->combBYear->setEditText(twoDigitYear(QDate::currentDate()));
    ui_->edtUpRegNum->setVisible(range);
    ui_->lblUpRegNum->setVisible(range);
    applyCountryEntryAid();
}

void RingListView::btnNewClick()
{
    prepareInsert(false);
}

void RingListView::btnNew2Click()
{
    prepareInsert(true);
}

void RingListView::loadPigeon(const QString& ringNo)
{
    const auto pigeon = ::loadPigeon(dm_, loftNo_, ringNo);
    if (!pigeon)
        return;
    ui_->cbbCountryRingCode->setEditText(pigeon->country);
    ui_->cbbBColour->setEditText(columnText(columns_, QStringLiteral("ColorType"), pigeon->colourCode));
    ui_->cbbSex->setEditText(pigeon->sex == QLatin1String("H") ? QStringLiteral("Hen") : QStringLiteral("Cock"));
    ui_->combBYear->setEditText(pigeon->year);
    // Set past the entry aids: a stored pigeon is shown as it is.
    setStoredText(ui_->edtRegLetter, pigeon->letters);
    setStoredText(ui_->edtRegNum, pigeon->number);
    ui_->mmoComment->setPlainText(pigeon->comment);
    setKeyFieldsEnabled(false);
}

void RingListView::dbgrdMemRingCellClick(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    loadPigeon(adoqDBGridMRing_->value(index.row(), QStringLiteral("PRingNo")).toString());
}

void RingListView::btnOK_RingClick()
{
    RingInput in;
    in.loftNo = loftNo_;
    in.country = ui_->cbbCountryRingCode->currentText();
    in.year = ui_->combBYear->currentText();
    in.letters = ui_->edtRegLetter->text();
    in.number = ui_->edtRegNum->text();
    in.upperNumber = ui_->edtUpRegNum->text();
    in.sex = sexCode(ui_->cbbSex->currentText());
    in.colourCode = colourCode(dm_, ui_->cbbBColour->currentText());
    in.comment = ui_->mmoComment->toPlainText();
    const RingSaveResult result = saveRing(dm_, in, QDateTime::currentDateTime());
    refresh(result.lastRingNo());
    ui_->edtUpRegNum->clear();
}

void RingListView::btnCan_RingClick()
{
    ui_->edtRegLetter->clear();
    ui_->edtRegNum->clear();
    ui_->mmoComment->clear();
    ui_->cbbCountryRingCode->setFocus();
    applyCountryEntryAid();
}

void RingListView::rgMemRingClick(int index)
{
    const QString ringNo = selectedRingNo();
    if (index == 0) {
        // The menu is over this view's list, so the view is already the one shown.
        if (!ringNo.isEmpty())
            loadPigeon(ringNo);
    } else if (index == 1 && !ringNo.isEmpty()) {
        if (Dialogs::question(this, QStringLiteral("This will delete the data ?")) == QMessageBox::Yes) {
            deleteRing(dm_, loftNo_, ringNo);
            refresh(QString());
        }
    }
}

void RingListView::butPrtRingListClick()
{
    produceReport(this, ListReports::ringList(dm_, dm_.clubSettings(), loftName_, loftNo_, *adoqDBGridMRing_));
}

// --- Spreadsheets -------------------------------------------------------------------------------

void RingListView::btnPigImportClick()
{
    const QString path = Dialogs::getOpenFileName(this, QStringLiteral("Spreadsheet Import"), QString::fromLatin1(PigeonImportFilter));
    if (path.isEmpty())
        return;
    QProgressDialog progress(QStringLiteral("Importing pigeons from %1").arg(QFileInfo(path).fileName()), QStringLiteral("Cancel"), 0, 0, this);
    progress.setObjectName(QStringLiteral("ImportProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const auto shown = [&progress](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        return !progress.wasCanceled();
    };
    // A refused row is shown by the guard; nothing of the file was written then.
    importPigeonFile(dm_, path, QDateTime::currentDateTime(), shown);
    progress.reset();
    refresh(QString());
}

void RingListView::btnPigExportClick()
{
    const QString chosen = Dialogs::getSaveFileName(this, QStringLiteral("Spreadsheet Export"), QString::fromLatin1(PigeonExportFilter));
    if (chosen.isEmpty())
        return;
    exportPigeons(dm_, loftNo_, workbookFileName(chosen));
}

// --- Colour list --------------------------------------------------------------------------------

void RingListView::AAdd1Click()
{
    ui_->edtColorCode->clear();
    ui_->edtColorName->clear();
    ui_->grpBirdColor->show();
    ui_->edtColorCode->setFocus();
}

void RingListView::btnFColorSaveClick()
{
    // A refused colour is shown by the guard and the box stays open.
    addColour(dm_, ui_->edtColorCode->text(), ui_->edtColorName->text());
    ui_->grpBirdColor->hide();
    coloursChanged();
    ui_->cbbBColour->setCurrentText(ui_->edtColorName->text());
}

void RingListView::btnFColorCancelClick()
{
    ui_->grpBirdColor->hide();
}

void RingListView::DDelete1Click()
{
    deleteColour(dm_, ui_->cbbBColour->currentText());
    coloursChanged();
}

void RingListView::coloursChanged()
{
    ui_->cbbBColour->clear();
    ui_->cbbBColour->addItems(colourNames(dm_));
    ui_->cbbBColour->setCurrentIndex(-1);  // no colour chosen by the change itself
    columns_ = ListColumns::ringList(dm_);
    adoqDBGridMRing_->setColumns(columns_);
}

// --- Per-country entry aids ---------------------------------------------------------------------

void RingListView::cbbCountryRingCodeChange()
{
    applyCountryEntryAid();
}

void RingListView::applyCountryEntryAid()
{
    QLineEdit* letters = ui_->edtRegLetter;
    if (!letters->isEnabled())
        return;  // a pigeon loaded for editing keeps its stored parts
    const bool wasLocked = letters->isReadOnly();
    countryAid_ = countryEntryAid(ui_->cbbCountryRingCode->currentText());
    const bool lock = countryAid_.letters == CountryEntryAid::Letters::Dash;
    letters->setMaxLength(countryAid_.letterLength > 0 ? countryAid_.letterLength : 4);
    if (lock)
        letters->setText(QStringLiteral("-"));
    else if (wasLocked || !letters->hasAcceptableInput())
        letters->clear();
    letters->setReadOnly(lock);
    letters->setToolTip(countryAid_.hint);
    letters->setPlaceholderText(countryAid_.hint);
    const int numberLength = countryAid_.numberLength > 0 ? countryAid_.numberLength : 7;
    ui_->edtRegNum->setMaxLength(numberLength);
    ui_->edtUpRegNum->setMaxLength(numberLength);
}

void RingListView::edtRegLetterExit()
{
    if (!ui_->edtRegLetter->isEnabled() || lettersAcceptedOnLeaving(countryAid_, ui_->edtRegLetter->text()))
        return;
    Dialogs::information(this, QString::fromLatin1(RegistrationLetterError));
    ui_->edtRegLetter->setFocus();
}

bool RingListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_->edtRegLetter && event->type() == QEvent::FocusOut) {
        // Only leaving the field checks it: not a context menu or another window taking the
        // focus for a while, nor the page being hidden.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && isVisible())
            edtRegLetterExit();
    }
    return QWidget::eventFilter(watched, event);
}
