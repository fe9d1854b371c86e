#include "RaceListView.h"

#include "CoordinateEntry.h"
#include "CorvelError.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "Formats.h"
#include "KeyFilter.h"
#include "ListColumns.h"
#include "ListReports.h"
#include "ReadOnlyGrid.h"
#include "ReportPreview.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"
#include "ui_RaceListView.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <tuple>

namespace {

// A masked coordinate's text with every blank position as a space, as stored ("    '  :  " when
// nothing was typed).
QString maskedText(const QLineEdit* edit)
{
    QString text = edit->displayText();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

void setMaskedText(QLineEdit* edit, const QVariant& value)
{
    edit->setText(value.isNull() ? QString() : value.toString());
}

// The menu pops up on a right click in the list box or in the text it is typed into.
void popUpOnRightClick(QMenu* menu, QComboBox* box)
{
    box->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
    for (QWidget* w : {static_cast<QWidget*>(box), static_cast<QWidget*>(box->lineEdit())})
        QObject::connect(w, &QWidget::customContextMenuRequested, menu,
                         [menu, w](const QPoint& pos) { menu->popup(w->mapToGlobal(pos)); });
}

}  // namespace

RaceListView::RaceListView(TdmZAVR& dm, QString* sortText, QWidget* parent)
    : QWidget(parent), dm_(dm), sortText_(sortText), ui_(std::make_unique<Ui::RaceListView>()),
      adoqRacePoint_(new RowSetModel(this))
{
    ui_->setupUi(this);
    adoqRacePoint_->setObjectName(QStringLiteral("adoqRacePoint"));
    adoqRacePoint_->setColumns(ListColumns::raceList());
    setUpReadOnlyGrid(ui_->dbgrd1, adoqRacePoint_);
    showColumns(ui_->dbgrd1, ListColumns::raceList());
    ui_->dbgrd1->horizontalHeader()->setSectionsClickable(true);
    ui_->combClub->lineEdit()->setMaxLength(50);
    ui_->combLibSite->lineEdit()->setMaxLength(20);
    typeInCapitals(ui_->edtlibSiteAbbriv);
    ui_->edtLibCode->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-F]{0,4}")), ui_->edtLibCode));
    ui_->edtLibCode->installEventFilter(this);
    popUpOnRightClick(ui_->pmClubCode, ui_->combClub);
    popUpOnRightClick(ui_->pmLiberSite, ui_->combLibSite);

    connectGuarded(ui_->dbgrd1, &QTableView::clicked, this, &RaceListView::dbgrd1CellClick);
    connect(ui_->dbgrd1, &QTableView::doubleClicked, this, &RaceListView::doubleClicked);
    connectGuarded(ui_->dbgrd1->horizontalHeader(), &QHeaderView::sectionClicked, this, &RaceListView::dbgrd1TitleClick);
    connectGuarded(ui_->butPrtRacePoint, &QPushButton::clicked, this, &RaceListView::butPrtRacePointClick);
    connectGuarded(ui_->btn1, &QPushButton::clicked, this, &RaceListView::btn1Click);
    connectGuarded(ui_->btnCancel, &QPushButton::clicked, this, &RaceListView::btnCancelClick);
    connectGuarded(ui_->chkLibPoint, &QCheckBox::clicked, this, &RaceListView::chkLibPointClick);
    connectGuarded(ui_->combLibSite, &QComboBox::textActivated, this, &RaceListView::combLibSiteChange);
    connectGuarded(ui_->combLibSite->lineEdit(), &QLineEdit::textEdited, this, &RaceListView::combLibSiteChange);
    connectGuarded(ui_->btnOK, &QPushButton::clicked, this, &RaceListView::btnOKClick);
    connectGuarded(ui_->btnSetSunData, &QPushButton::clicked, this, &RaceListView::btnSetSunDataClick);
    connectGuarded(ui_->pnlSunData, &SunDataPanel::saveClicked, this, &RaceListView::btnOK_SunClick);
    connectGuarded(ui_->DDelete1, &QAction::triggered, this, &RaceListView::DDelete1Click);
    connectGuarded(ui_->AAdd1, &QAction::triggered, this, &RaceListView::AAdd1Click);
    connectGuarded(ui_->DDelete2, &QAction::triggered, this, &RaceListView::DDelete2Click);
    connect(ui_->EExit1, &QAction::triggered, ui_->pmLiberSite, &QMenu::close);
    connect(ui_->EExit2, &QAction::triggered, ui_->pmClubCode, &QMenu::close);
    connectGuarded(ui_->btnClubSave, &QPushButton::clicked, this, &RaceListView::btnClubSaveClick);
    connectGuarded(ui_->btnClubCancel, &QPushButton::clicked, this, &RaceListView::btnClubCancelClick);
}

RaceListView::~RaceListView() = default;

QTableView* RaceListView::dbgrd1() const
{
    return ui_->dbgrd1;
}

void RaceListView::FormShow()
{
    ui_->pnlSunData->hide();
    setPointFieldsEnabled(false);
    ui_->dtpLibDate->setDate(QDate::currentDate());
    ui_->combClub->setFocus();
    fillClubs();
    fillLiberationSites();
    loadRaceList();
}

void RaceListView::setPointFieldsEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{ui_->edtlibSiteAbbriv, ui_->edtLibCode, ui_->medtRaceLon, ui_->medtRaceLat})
        w->setEnabled(enabled);
}

void RaceListView::fillClubs()
{
    ui_->combClub->clear();
    ui_->combClub->addItems(clubNames(dm_));
    ui_->combClub->setCurrentIndex(-1);
}

void RaceListView::fillLiberationSites()
{
    ui_->combLibSite->clear();
    ui_->combLibSite->addItems(liberationSiteNames(dm_));
    ui_->combLibSite->setCurrentIndex(-1);
}

void RaceListView::loadRaceList()
{
    const std::optional<ListedRace> before = selectedRace();
    adoqRacePoint_->applySort(QString());  // a re-run query comes in the statement's own order
    ::loadRaceList(dm_, *adoqRacePoint_);
    ui_->dbgrd1->resizeColumnsToContents();
    if (before)
        selectRow(ui_->dbgrd1, findListedRace(*adoqRacePoint_, before->key));
}

std::optional<ListedRace> RaceListView::selectedRace() const
{
    const QModelIndex current = ui_->dbgrd1->currentIndex();
    if (!current.isValid() || current.row() >= adoqRacePoint_->rowCount())
        return std::nullopt;
    return listedRace(*adoqRacePoint_, current.row());
}

ListedRace RaceListView::requireSelectedRace() const
{
    const std::optional<ListedRace> race = selectedRace();
    if (!race)
        throw CorvelError(QStringLiteral("Choose a race in the race list first."));
    return *race;
}

void RaceListView::dbgrd1CellClick()
{
    EditPoint();
}

void RaceListView::dbgrd1TitleClick(int column)
{
    sortByTitle(adoqRacePoint_, column, sortText_);
}

void RaceListView::EditPoint()
{
    const std::optional<ListedRace> race = selectedRace();
    if (!race)
        return;
    const std::optional<StoredRace> stored = findStoredRace(dm_, race->key);
    if (!stored)
        return;
    ui_->combClub->setEditText(clubNameForId(dm_, stored->clubId));
    ui_->edtLibCode->setText(stored->liberCode);
    ui_->edtlibSiteAbbriv->setText(stored->liberSiteAbbr);
    ui_->combLibSite->setEditText(stored->liberSite);
    setMaskedText(ui_->medtRaceLon, stored->liberLon);
    setMaskedText(ui_->medtRaceLat, stored->liberLat);
    ui_->dtpLibDate->setDate(stored->liberDate);
    const QTime time = Formats::fromDbTime(stored->liberTime);
    ui_->dtpLibTime->setTime(time.isValid() ? time : QTime(0, 0));
}

void RaceListView::DeletePoint()
{
    if (Dialogs::question(this, QStringLiteral("This will delete the data ?")) != QMessageBox::Yes)
        return;
    deleteRace(dm_, requireSelectedRace().key);
    loadRaceList();
}

bool RaceListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_->edtLibCode && event->type() == QEvent::KeyPress) {
        // Digits and "A" to "F" go in as typed; any other character acts as Backspace.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text().isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab
            || key->key() == Qt::Key_Delete)
            return false;
        if (key->text().size() == 1 && isLiberationCodeChar(key->text().front()))
            return false;
        ui_->edtLibCode->backspace();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RaceListView::btn1Click()
{
    ui_->combLibSite->setEditText(QString());
    ui_->edtlibSiteAbbriv->clear();
    ui_->medtRaceLon->clear();
    ui_->medtRaceLat->clear();
    ui_->edtLibCode->clear();
    ui_->grpLibDetail->setEnabled(true);
    setPointFieldsEnabled(false);
    ui_->chkLibPoint->setChecked(false);
    ui_->combClub->setFocus();
}

void RaceListView::btnCancelClick()
{
    ui_->grpLibDetail->setEnabled(false);
}

void RaceListView::chkLibPointClick()
{
    ui_->combLibSite->setEnabled(true);
    setPointFieldsEnabled(true);
    ui_->edtlibSiteAbbriv->setFocus();
}

void RaceListView::combLibSiteChange(const QString& site)
{
    const std::optional<LiberationPoint> point = findLiberationPointBySite(dm_, site);
    if (!point || ui_->chkLibPoint->isChecked())
        return;
    ui_->edtlibSiteAbbriv->setText(point->liberSiteAbbr);
    ui_->edtLibCode->setText(point->liberCode);
    setMaskedText(ui_->medtRaceLon, point->liberLon);
    setMaskedText(ui_->medtRaceLat, point->liberLat);
}

QString RaceListView::raceCodeOfDetail() const
{
    return RaceCode(ui_->edtLibCode->text(), ui_->dtpLibDate->enteredDate());
}

void RaceListView::checkTypedCoordinates() const
{
    // A coordinate loaded from a stored row is saved as it stands; one typed here must be a place.
    const std::initializer_list<std::tuple<QLineEdit*, CoordinateAxis, const QLabel*>> fields = {
        {ui_->medtRaceLon, CoordinateAxis::Longitude, ui_->lblRaceLon},
        {ui_->medtRaceLat, CoordinateAxis::Latitude, ui_->lblRaceLat}};
    for (const auto& [edit, axis, caption] : fields) {
        if (!edit->isModified())
            continue;
        const QString error = coordinateEntryError(maskedText(edit), axis, caption->text());
        if (!error.isEmpty()) {
            edit->setFocus();
            throw CorvelError(error);
        }
    }
}

void RaceListView::btnOKClick()
{
    checkTypedCoordinates();
    RaceInput input;
    input.clubName = ui_->combClub->currentText();
    input.liberCode = ui_->edtLibCode->text();
    input.liberSite = ui_->combLibSite->currentText();
    input.liberSiteAbbr = ui_->edtlibSiteAbbriv->text();
    input.liberLon = maskedText(ui_->medtRaceLon);
    input.liberLat = maskedText(ui_->medtRaceLat);
    input.liberDate = ui_->dtpLibDate->enteredDate();
    input.liberTime = ui_->dtpLibTime->time();
    const RaceSaveResult result = saveRace(dm_, input, QDateTime::currentDateTime());
    if (result == RaceSaveResult::NewPointAndRace)
        ui_->chkLibPoint->setChecked(false);
    const QString site = ui_->combLibSite->currentText();
    loadRaceList();
    setPointFieldsEnabled(false);
    fillLiberationSites();
    ui_->combLibSite->setEditText(site);
}

void RaceListView::btnSetSunDataClick()
{
    ui_->pnlSunData->showRows(readSunTableRows(dm_, raceCodeOfDetail()));
}

void RaceListView::btnOK_SunClick()
{
    saveSunRows(dm_, raceCodeOfDetail(), ui_->pnlSunData->rows());
    ui_->pnlSunData->hide();
}

void RaceListView::DDelete1Click()
{
    deleteLiberationPoint(dm_, ui_->edtLibCode->text());
    fillLiberationSites();
}

void RaceListView::AAdd1Click()
{
    ui_->grpClubMap->show();
    ui_->edtClubCode->setFocus();
}

void RaceListView::btnClubSaveClick()
{
    addClub(dm_, ui_->edtClubCode->text(), ui_->edtClubNmae->text());
    ui_->grpClubMap->hide();
    fillClubs();
}

void RaceListView::btnClubCancelClick()
{
    ui_->grpClubMap->hide();
}

void RaceListView::DDelete2Click()
{
    deleteClubByName(dm_, ui_->combClub->currentText());
    fillClubs();
}

void RaceListView::butPrtRacePointClick()
{
    produceReport(this, ListReports::raceList(dm_.clubSettings(), *adoqRacePoint_));
}
