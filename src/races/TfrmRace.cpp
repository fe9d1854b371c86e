#include "TfrmRace.h"

#include "RacePageWidgets.h"

#include "CorvelError.h"
#include "Dialogs.h"
#include "DisplayRules.h"
#include "ErrorHandler.h"
#include "Formats.h"
#include "LoftDistModel.h"
#include "LoftDistances.h"
#include "PageTitle.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

QPointer<TfrmRace> frmRace;

using RacePageWidgets::button;
using RacePageWidgets::panel;

namespace {

// The mask of a liberation coordinate: hemisphere letter, "999'99:99", upper case, "_" for blanks.
const QString CoordinateMask = QStringLiteral(">N000'00:00;_");

// A masked field's text with every blank position as a space, as stored ("    '  :  " when empty).
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

// Editors of the distance grid take digits only; the page watches their keys.
class DistanceDelegate : public QStyledItemDelegate {
public:
    DistanceDelegate(QObject* keyWatcher, QObject* parent) : QStyledItemDelegate(parent), keyWatcher_(keyWatcher) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setObjectName(QStringLiteral("dbgrdLoftLibDistEditor"));
            line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), line));
        }
        editor->installEventFilter(keyWatcher_);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void cancel(QWidget* editor) { emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache); }

private:
    QObject* keyWatcher_;
};

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

bool isDigitKey(const QKeyEvent* key)
{
    return key->text().size() == 1 && key->text().front().isDigit() && key->text().front().unicode() < 128;
}

// A typed character that is neither a digit nor Enter (editing keys and navigation excluded).
bool isOtherCharacter(const QKeyEvent* key)
{
    if (key->text().isEmpty() || isEnter(key) || isDigitKey(key))
        return false;
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return false;
    default:
        return true;
    }
}

}  // namespace

TfrmRace::TfrmRace(TdmZAVR& dm, const DataFolder& /*folder*/, QWidget* parent)
    : QWidget(parent),
      dm_(dm),
      pnlRacePoint_(panel(this, "pnlRacePoint")),
      pnlLoftLibPointDist_(panel(this, "pnlLoftLibPointDist")),
      pnlOtherClosk_(panel(this, "pnlOtherClosk")),
      pnlLoftRaceStat_(panel(this, "pnlLoftRaceStat")),
      pnlRaceResult_(panel(this, "pnlRaceResult")),
      adoqRacePoint_(new RowSetModel(this))
{
    setObjectName(QStringLiteral("frmRace"));
    QVBoxLayout* layout = addPageTitle(this, QStringLiteral("Race Points"));
    for (QWidget* view : {pnlRacePoint_, pnlLoftLibPointDist_, pnlOtherClosk_, pnlLoftRaceStat_, pnlRaceResult_})
        layout->addWidget(view, 1);
    buildRaceView(pnlRacePoint_);
    buildDistanceView(pnlLoftLibPointDist_);
    buildOtherClockView(pnlOtherClosk_);
    buildStatusView(pnlLoftRaceStat_);
    buildResultView(pnlRaceResult_);
    showOnly(pnlRacePoint_);
}

QString& TfrmRace::sortOrder()
{
    static QString text;
    return text;
}

QString& TfrmRace::otherClockLoftNo()
{
    static QString loftNo;
    return loftNo;
}

RowSetModel* TfrmRace::adotLoftRaceDist() const
{
    return adotLoftRaceDist_;
}

void TfrmRace::buildRaceView(QWidget* view)
{
    auto* row = new QHBoxLayout(view);

    // Race list with its print button.
    auto* left = new QVBoxLayout;
    adoqRacePoint_->setObjectName(QStringLiteral("adoqRacePoint"));
    adoqRacePoint_->setTitle(QStringLiteral("ClubID"), QStringLiteral("Club"));
    adoqRacePoint_->setTitle(QStringLiteral("LiberCode"), QStringLiteral("Code"));
    adoqRacePoint_->setTitle(QStringLiteral("LiberSiteAbbr"), QStringLiteral("LibSite Abbre."));
    adoqRacePoint_->setTitle(QStringLiteral("LiberSite"), QStringLiteral("Liberation Site"));
    adoqRacePoint_->setTitle(QStringLiteral("LiberDate"), QStringLiteral("Lib. Date"));
    adoqRacePoint_->setTitle(QStringLiteral("LiberTime"), QStringLiteral("Lib. Time"));
    adoqRacePoint_->setDisplayRule(QStringLiteral("LiberDate"), [](const QVariant& v) {
        const QDate d = Formats::fromDbDate(v);
        return d.isValid() ? Formats::shortDate(d) : QString();
    });
    adoqRacePoint_->setDisplayRule(QStringLiteral("LiberTime"), [](const QVariant& v) {
        const QTime t = Formats::fromDbTime(v);
        return t.isValid() ? Formats::longTime(t) : QString();
    });
    dbgrd1_ = makeReadOnlyGrid(view, QStringLiteral("dbgrd1"), adoqRacePoint_);
    dbgrd1_->horizontalHeader()->setSectionsClickable(true);
    dbgrd1_->viewport()->installEventFilter(this);
    connect(dbgrd1_, &QTableView::clicked, this, &TfrmRace::dbgrd1CellClick);
    connect(dbgrd1_, &QTableView::doubleClicked, this, &TfrmRace::dbgrd1DblClick);
    connect(dbgrd1_->horizontalHeader(), &QHeaderView::sectionClicked, this, &TfrmRace::dbgrd1TitleClick);
    left->addWidget(dbgrd1_, 1);
    auto* printRow = new QHBoxLayout;
    QPushButton* butPrtRacePoint = button(view, "butPrtRacePoint", QStringLiteral("Print"));
    connect(butPrtRacePoint, &QPushButton::clicked, this, &TfrmRace::butPrtRacePointClick);
    printRow->addWidget(butPrtRacePoint);
    printRow->addStretch(1);
    left->addLayout(printRow);
    row->addLayout(left, 3);

    // Operations menu, shown under the pointer when the right button is released over the list.
    rgRacePoint_ = new QListWidget(this);
    rgRacePoint_->setObjectName(QStringLiteral("rgRacePoint"));
    rgRacePoint_->addItems({QStringLiteral("Edit Point"), QStringLiteral("Delete Point"),
                            QStringLiteral("-------------------------"), QStringLiteral("Distance"),
                            QStringLiteral("Status"), QStringLiteral("Result"),
                            QStringLiteral("-------------------------"), QStringLiteral("Add/Edit other Clock")});
    rgRacePoint_->setFixedSize(rgRacePoint_->sizeHintForColumn(0) + 12,
                               rgRacePoint_->sizeHintForRow(0) * rgRacePoint_->count() + 6);
    rgRacePoint_->hide();
    connect(rgRacePoint_, &QListWidget::currentRowChanged, this, [this](int index) {
        if (index >= 0)
            rgRacePointClick(index);
    });

    // Race detail group.
    auto* right = new QVBoxLayout;
    grpLibDetail_ = new QGroupBox(QStringLiteral("Liberation Points Detail"), view);
    grpLibDetail_->setObjectName(QStringLiteral("grpLibDetail"));
    auto* form = new QFormLayout(grpLibDetail_);

    combClub_ = new QComboBox(grpLibDetail_);
    combClub_->setObjectName(QStringLiteral("combClub"));
    combClub_->setEditable(true);
    combClub_->setInsertPolicy(QComboBox::NoInsert);
    combClub_->lineEdit()->setMaxLength(50);
    pmClubCode_ = new QMenu(combClub_);
    pmClubCode_->setObjectName(QStringLiteral("pmClubCode"));
    QAction* AAdd1 = pmClubCode_->addAction(QStringLiteral("&A Add"));
    AAdd1->setObjectName(QStringLiteral("AAdd1"));
    QAction* DDelete2 = pmClubCode_->addAction(QStringLiteral("&D Delete"));
    DDelete2->setObjectName(QStringLiteral("DDelete2"));
    QAction* EExit2 = pmClubCode_->addAction(QStringLiteral("&E Exit"));
    EExit2->setObjectName(QStringLiteral("EExit2"));
    connect(AAdd1, &QAction::triggered, this, &TfrmRace::AAdd1Click);
    connect(DDelete2, &QAction::triggered, this, &TfrmRace::DDelete2Click);
    connect(EExit2, &QAction::triggered, pmClubCode_, &QMenu::close);
    for (QWidget* w : {static_cast<QWidget*>(combClub_), static_cast<QWidget*>(combClub_->lineEdit())}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& pos) { pmClubCode_->popup(w->mapToGlobal(pos)); });
    }
    form->addRow(QStringLiteral("Club"), combClub_);

    edtlibSiteAbbriv_ = new QLineEdit(grpLibDetail_);
    edtlibSiteAbbriv_->setObjectName(QStringLiteral("edtlibSiteAbbriv"));
    edtlibSiteAbbriv_->setMaxLength(10);
    connect(edtlibSiteAbbriv_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = edtlibSiteAbbriv_->cursorPosition();
        edtlibSiteAbbriv_->setText(text.toUpper());
        edtlibSiteAbbriv_->setCursorPosition(cursor);
    });
    form->addRow(QStringLiteral("Lib. Site Abbrivation"), edtlibSiteAbbriv_);

    combLibSite_ = new QComboBox(grpLibDetail_);
    combLibSite_->setObjectName(QStringLiteral("combLibSite"));
    combLibSite_->setEditable(true);
    combLibSite_->setInsertPolicy(QComboBox::NoInsert);
    combLibSite_->lineEdit()->setMaxLength(20);
    connect(combLibSite_, &QComboBox::textActivated, this, &TfrmRace::combLibSiteChange);
    connect(combLibSite_->lineEdit(), &QLineEdit::textEdited, this, &TfrmRace::combLibSiteChange);
    pmLiberSite_ = new QMenu(combLibSite_);
    pmLiberSite_->setObjectName(QStringLiteral("pmLiberSite"));
    QAction* DDelete1 = pmLiberSite_->addAction(QStringLiteral("&D Delete"));
    DDelete1->setObjectName(QStringLiteral("DDelete1"));
    QAction* EExit1 = pmLiberSite_->addAction(QStringLiteral("&E Exit"));
    EExit1->setObjectName(QStringLiteral("EExit1"));
    connect(DDelete1, &QAction::triggered, this, &TfrmRace::DDelete1Click);
    connect(EExit1, &QAction::triggered, pmLiberSite_, &QMenu::close);
    for (QWidget* w : {static_cast<QWidget*>(combLibSite_), static_cast<QWidget*>(combLibSite_->lineEdit())}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& pos) { pmLiberSite_->popup(w->mapToGlobal(pos)); });
    }
    form->addRow(QStringLiteral("Liberation Site"), combLibSite_);

    medtRaceLon_ = new QLineEdit(grpLibDetail_);
    medtRaceLon_->setObjectName(QStringLiteral("medtRaceLon"));
    medtRaceLon_->setInputMask(CoordinateMask);
    form->addRow(QStringLiteral("Longitude"), medtRaceLon_);
    medtRaceLat_ = new QLineEdit(grpLibDetail_);
    medtRaceLat_->setObjectName(QStringLiteral("medtRaceLat"));
    medtRaceLat_->setInputMask(CoordinateMask);
    form->addRow(QStringLiteral("Latitude"), medtRaceLat_);

    dtpLibDate_ = new QDateEdit(grpLibDetail_);
    dtpLibDate_->setObjectName(QStringLiteral("dtpLibDate"));
    dtpLibDate_->setDisplayFormat(Formats::toQtFormat(QString::fromLatin1(Formats::ShortDatePattern)));
    dtpLibDate_->setCalendarPopup(true);
    form->addRow(QStringLiteral("Lib. Date"), dtpLibDate_);
    dtpLibTime_ = new QTimeEdit(grpLibDetail_);
    dtpLibTime_->setObjectName(QStringLiteral("dtpLibTime"));
    dtpLibTime_->setDisplayFormat(Formats::toQtFormat(QString::fromLatin1(Formats::LongTimePattern)));
    form->addRow(QStringLiteral("Lib. Time"), dtpLibTime_);

    edtLibCode_ = new QLineEdit(grpLibDetail_);
    edtLibCode_->setObjectName(QStringLiteral("edtLibCode"));
    edtLibCode_->setMaxLength(4);
    edtLibCode_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-F]{0,4}")), edtLibCode_));
    edtLibCode_->installEventFilter(this);
    form->addRow(QStringLiteral("Lib. Code"), edtLibCode_);

    chkLibPoint_ = new QCheckBox(QStringLiteral("Customized LibPoint"), grpLibDetail_);
    chkLibPoint_->setObjectName(QStringLiteral("chkLibPoint"));
    connect(chkLibPoint_, &QCheckBox::clicked, this, &TfrmRace::chkLibPointClick);
    form->addRow(chkLibPoint_);

    QPushButton* btnSetSunData = button(grpLibDetail_, "btnSetSunData", QStringLiteral("SunData Setting"));
    connect(btnSetSunData, &QPushButton::clicked, this, &TfrmRace::btnSetSunDataClick);
    form->addRow(btnSetSunData);
    auto* saveRow = new QHBoxLayout;
    QPushButton* btnOK = button(grpLibDetail_, "btnOK", QStringLiteral("Save"));
    QPushButton* btnCancel = button(grpLibDetail_, "btnCancel", QStringLiteral("Cancel"));
    connect(btnOK, &QPushButton::clicked, this, &TfrmRace::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmRace::btnCancelClick);
    saveRow->addWidget(btnOK);
    saveRow->addWidget(btnCancel);
    form->addRow(saveRow);
    right->addWidget(grpLibDetail_);

    // "AddNew" stays usable while the group is disabled: it is what enables it again.
    QPushButton* btn1 = button(view, "btn1", QStringLiteral("AddNew"));
    connect(btn1, &QPushButton::clicked, this, &TfrmRace::btn1Click);
    right->addWidget(btn1);

    // Club panel.
    grpClubMap_ = new QGroupBox(view);
    grpClubMap_->setObjectName(QStringLiteral("grpClubMap"));
    auto* clubForm = new QFormLayout(grpClubMap_);
    edtClubCode_ = new QLineEdit(grpClubMap_);
    edtClubCode_->setObjectName(QStringLiteral("edtClubCode"));
    edtClubCode_->setMaxLength(10);
    edtClubNmae_ = new QLineEdit(grpClubMap_);
    edtClubNmae_->setObjectName(QStringLiteral("edtClubNmae"));
    edtClubNmae_->setMaxLength(50);
    clubForm->addRow(QStringLiteral("Club Code"), edtClubCode_);
    clubForm->addRow(QStringLiteral("Club Name"), edtClubNmae_);
    auto* clubButtons = new QHBoxLayout;
    QPushButton* btnClubSave = button(grpClubMap_, "btnClubSave", QStringLiteral("Save"));
    QPushButton* btnClubCancel = button(grpClubMap_, "btnClubCancel", QStringLiteral("Cancel"));
    connect(btnClubSave, &QPushButton::clicked, this, &TfrmRace::btnClubSaveClick);
    connect(btnClubCancel, &QPushButton::clicked, this, &TfrmRace::btnClubCancelClick);
    clubButtons->addWidget(btnClubSave);
    clubButtons->addWidget(btnClubCancel);
    clubForm->addRow(clubButtons);
    grpClubMap_->hide();
    right->addWidget(grpClubMap_);

    // Sun table panel: two fixed rows (titles and format hints) and six day rows.
    pnlSunData_ = panel(view, "pnlSunData");
    auto* sunLayout = new QVBoxLayout(pnlSunData_);
    StrGridSunSet_ = new QTableWidget(2 + SunTableDayRows, 4, pnlSunData_);
    StrGridSunSet_->setObjectName(QStringLiteral("StrGridSunSet"));
    StrGridSunSet_->horizontalHeader()->setVisible(false);
    StrGridSunSet_->verticalHeader()->setVisible(false);
    sunLayout->addWidget(StrGridSunSet_);
    auto* sunButtons = new QHBoxLayout;
    QPushButton* btnOK_Sun = button(pnlSunData_, "btnOK_Sun", QStringLiteral("Save"));
    QPushButton* btnCan_Sun = button(pnlSunData_, "btnCan_Sun", QStringLiteral("Cancel"));
    connect(btnOK_Sun, &QPushButton::clicked, this, &TfrmRace::btnOK_SunClick);
    connect(btnCan_Sun, &QPushButton::clicked, this, &TfrmRace::btnCan_SunClick);
    sunButtons->addWidget(btnOK_Sun);
    sunButtons->addWidget(btnCan_Sun);
    sunLayout->addLayout(sunButtons);
    pnlSunData_->hide();
    right->addWidget(pnlSunData_);
    right->addStretch(1);
    row->addLayout(right, 2);
}

void TfrmRace::buildDistanceView(QWidget* view)
{
    auto* layout = new QVBoxLayout(view);
    lblLoftPointDistTitle_ = new QLabel(view);
    lblLoftPointDistTitle_->setObjectName(QStringLiteral("lblLoftPointDistTitle"));
    layout->addWidget(lblLoftPointDistTitle_);

    adotLoftRaceDist_ = new LoftDistModel(this);
    adotLoftRaceDist_->setObjectName(QStringLiteral("adotLoftRaceDist"));
    adotLoftRaceDist_->setTitle(QStringLiteral("LoftName"), QStringLiteral("Member"));
    adotLoftRaceDist_->setDisplayRule(QStringLiteral("Miles"), DisplayRules::distanceText);
    adotLoftRaceDist_->setDisplayRule(QStringLiteral("Yards"), DisplayRules::distanceText);
    adotLoftRaceDist_->setAlignment(QStringLiteral("Miles"), Qt::AlignRight | Qt::AlignVCenter);
    adotLoftRaceDist_->setAlignment(QStringLiteral("Yards"), Qt::AlignRight | Qt::AlignVCenter);
    adotLoftRaceDist_->setPoster(
        [this](const QString& loftNo, int miles, int yards) { return postLoftDistance(loftNo, miles, yards); });

    dbgrdLoftLibDist_ = new QTableView(view);
    dbgrdLoftLibDist_->setObjectName(QStringLiteral("dbgrdLoftLibDist"));
    dbgrdLoftLibDist_->setModel(adotLoftRaceDist_);
    dbgrdLoftLibDist_->setItemDelegate(new DistanceDelegate(this, dbgrdLoftLibDist_));
    dbgrdLoftLibDist_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                                       | QAbstractItemView::EditKeyPressed);
    dbgrdLoftLibDist_->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgrdLoftLibDist_->verticalHeader()->setVisible(false);
    dbgrdLoftLibDist_->horizontalHeader()->setSectionsClickable(true);
    dbgrdLoftLibDist_->installEventFilter(this);
    connect(dbgrdLoftLibDist_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TfrmRace::dbgrdLoftLibDistTitleClick);
    connect(dbgrdLoftLibDist_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (current.row() != previous.row())
                    adotLoftRaceDist_->submit();
            });
    layout->addWidget(dbgrdLoftLibDist_, 1);

    auto* buttons = new QHBoxLayout;
    QPushButton* update = button(view, "btnLoftDistUpdate", QStringLiteral("LoftDistUpdate"));
    QPushButton* ok = button(view, "btnLoftLibDist", QStringLiteral("OK"));
    connect(update, &QPushButton::clicked, this, &TfrmRace::btnLoftDistUpdateClick);
    connect(ok, &QPushButton::clicked, this, &TfrmRace::btnLoftLibDistClick);
    buttons->addWidget(update);
    QPushButton* butPrtLoftRaceDist = button(view, "butPrtLoftRaceDist", QStringLiteral("Print"));
    connect(butPrtLoftRaceDist, &QPushButton::clicked, this, &TfrmRace::butPrtLoftRaceDistClick);
    buttons->addWidget(butPrtLoftRaceDist);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
}

void TfrmRace::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TfrmRace::FormShow()
{
    guarded(this, [this] {
        fillClubs();
        fillLiberationSites();
        loadRaceList();
    });
    showOnly(pnlRacePoint_);
    pnlSunData_->hide();
    rgRacePoint_->hide();
    combClub_->setFocus();
    setPointFieldsEnabled(false);
    dtpLibDate_->setDate(QDate::currentDate());
}

void TfrmRace::showOnly(QWidget* view)
{
    for (QWidget* w : {pnlRacePoint_, pnlLoftLibPointDist_, pnlOtherClosk_, pnlLoftRaceStat_, pnlRaceResult_})
        w->setVisible(w == view);
}

void TfrmRace::setPointFieldsEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(edtlibSiteAbbriv_), static_cast<QWidget*>(edtLibCode_),
                       static_cast<QWidget*>(medtRaceLon_), static_cast<QWidget*>(medtRaceLat_)})
        w->setEnabled(enabled);
}

void TfrmRace::fillClubs()
{
    combClub_->clear();
    combClub_->addItems(clubNames(dm_));
    combClub_->setCurrentIndex(-1);
}

void TfrmRace::fillLiberationSites()
{
    combLibSite_->clear();
    combLibSite_->addItems(liberationSiteNames(dm_));
    combLibSite_->setCurrentIndex(-1);
}

void TfrmRace::loadRaceList()
{
    const std::optional<SelectedRace> before = selectedRace();
    QSqlQuery query = dm_.exec(QStringLiteral("SELECT ClubID, LiberCode, LiberSiteAbbr, LiberSite, LiberDate, LiberTime, "
                                              "LiberLon, LiberLat, Updatetime, SynchFlag, RaceCode FROM ZAVR_RaceData "
                                              "ORDER BY rowid"));
    adoqRacePoint_->setQueryResult(query);
    for (int c = 6; c < adoqRacePoint_->columnCount(); ++c)
        dbgrd1_->setColumnHidden(c, true);
    dbgrd1_->resizeColumnsToContents();
    if (!before)
        return;
    for (int r = 0; r < adoqRacePoint_->rowCount(); ++r)
        if (adoqRacePoint_->value(r, QStringLiteral("ClubID")).toString() == before->key.clubId
            && adoqRacePoint_->value(r, QStringLiteral("LiberCode")).toString() == before->key.liberCode
            && Formats::fromDbDate(adoqRacePoint_->value(r, QStringLiteral("LiberDate"))) == before->key.liberDate) {
            dbgrd1_->setCurrentIndex(adoqRacePoint_->index(r, 0));
            return;
        }
}

std::optional<TfrmRace::SelectedRace> TfrmRace::selectedRace() const
{
    const QModelIndex current = dbgrd1_->currentIndex();
    if (!current.isValid() || current.row() >= adoqRacePoint_->rowCount())
        return std::nullopt;
    const int r = current.row();
    SelectedRace race;
    race.key.clubId = adoqRacePoint_->value(r, QStringLiteral("ClubID")).toString();
    race.key.liberCode = adoqRacePoint_->value(r, QStringLiteral("LiberCode")).toString();
    race.key.liberDate = Formats::fromDbDate(adoqRacePoint_->value(r, QStringLiteral("LiberDate")));
    race.liberSiteAbbr = adoqRacePoint_->value(r, QStringLiteral("LiberSiteAbbr")).toString();
    race.liberSite = adoqRacePoint_->value(r, QStringLiteral("LiberSite")).toString();
    return race;
}

TfrmRace::SelectedRace TfrmRace::requireSelectedRace() const
{
    const std::optional<SelectedRace> race = selectedRace();
    if (!race)
        throw CorvelError(QStringLiteral("Choose a race in the race list first."));
    return *race;
}

QVariant TfrmRace::currentRaceValue(const QString& field) const
{
    const QModelIndex current = dbgrd1_->currentIndex();
    if (!current.isValid() || current.row() >= adoqRacePoint_->rowCount())
        return {};
    return adoqRacePoint_->value(current.row(), field);
}

void TfrmRace::dbgrd1CellClick(const QModelIndex& /*index*/)
{
    guarded(this, [this] { fillFromSelectedRace(); });
}

void TfrmRace::fillFromSelectedRace()
{
    const std::optional<SelectedRace> race = selectedRace();
    if (!race)
        return;
    const std::optional<StoredRace> stored = findStoredRace(dm_, race->key);
    if (!stored)
        return;
    combClub_->setEditText(clubNameForId(dm_, stored->clubId));
    edtLibCode_->setText(stored->liberCode);
    edtlibSiteAbbriv_->setText(stored->liberSiteAbbr);
    combLibSite_->setEditText(stored->liberSite);
    setMaskedText(medtRaceLon_, stored->liberLon);
    setMaskedText(medtRaceLat_, stored->liberLat);
    dtpLibDate_->setDate(stored->liberDate);
    const QTime time = Formats::fromDbTime(stored->liberTime);
    dtpLibTime_->setTime(time.isValid() ? time : QTime(0, 0));
}

bool TfrmRace::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dbgrd1_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            const QPoint at = rgRacePoint_->parentWidget()->mapFromGlobal(mouse->globalPosition().toPoint());
            rgRacePoint_->move(at + QPoint(30, 10));
            rgRacePoint_->show();
            rgRacePoint_->raise();
        } else {
            rgRacePoint_->hide();
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);

    if (watched == edtLibCode_) {
        // Digits and "A" to "F" go in as typed; any other character acts as Backspace.
        if (key->text().isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab
            || key->key() == Qt::Key_Delete)
            return false;
        if (key->text().size() == 1 && isLiberationCodeChar(key->text().front()))
            return false;
        edtLibCode_->backspace();
        return true;
    }
    if (watched == dbgrdLoftLibDist_) {
        if (isEnter(key)) {
            guarded(this, [this] { adotLoftRaceDist_->submit(); });
            return true;
        }
        if (isOtherCharacter(key)) {
            adotLoftRaceDist_->revert();
            return true;
        }
        return false;
    }
    if (auto* editor = qobject_cast<QWidget*>(watched);
        editor && editor->objectName() == QLatin1String("dbgrdLoftLibDistEditor") && isOtherCharacter(key)) {
        static_cast<DistanceDelegate*>(dbgrdLoftLibDist_->itemDelegate())->cancel(editor);
        adotLoftRaceDist_->revert();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmRace::rgRacePointClick(int index)
{
    rgRacePoint_->hide();
    {
        const QSignalBlocker block(rgRacePoint_);
        rgRacePoint_->setCurrentRow(-1);
        rgRacePoint_->clearSelection();
    }
    switch (index) {
    case 0:
        guarded(this, [this] { fillFromSelectedRace(); });
        break;
    case 1:
        deleteSelectedRace();
        break;
    case 3:
        openDistanceView();
        break;
    case 4:
        openStatusView();
        break;
    case 5:
        openResultView();
        break;
    case 7:
        openOtherClockView();
        break;
    default:
        break;
    }
}

void TfrmRace::deleteSelectedRace()
{
    if (Dialogs::question(this, QStringLiteral("This will delete the data ?")) != QMessageBox::Yes)
        return;
    guarded(this, [this] {
        const SelectedRace race = requireSelectedRace();
        deleteRace(dm_, race.key);
        loadRaceList();
    });
}

void TfrmRace::btn1Click()
{
    combLibSite_->setEditText(QString());
    edtlibSiteAbbriv_->clear();
    medtRaceLon_->clear();
    medtRaceLat_->clear();
    edtLibCode_->clear();
    grpLibDetail_->setEnabled(true);
    setPointFieldsEnabled(false);
    chkLibPoint_->setChecked(false);
    combClub_->setFocus();
}

void TfrmRace::btnCancelClick()
{
    grpLibDetail_->setEnabled(false);
}

void TfrmRace::chkLibPointClick()
{
    combLibSite_->setEnabled(true);
    setPointFieldsEnabled(true);
    edtlibSiteAbbriv_->setFocus();
}

void TfrmRace::combLibSiteChange(const QString& site)
{
    guarded(this, [&] {
        const std::optional<LiberationPoint> point = findLiberationPointBySite(dm_, site);
        if (!point || chkLibPoint_->isChecked())
            return;
        edtlibSiteAbbriv_->setText(point->liberSiteAbbr);
        edtLibCode_->setText(point->liberCode);
        setMaskedText(medtRaceLon_, point->liberLon);
        setMaskedText(medtRaceLat_, point->liberLat);
    });
}

QString TfrmRace::raceCodeOfDetail() const
{
    return RaceCode(edtLibCode_->text(), dtpLibDate_->date());
}

void TfrmRace::btnOKClick()
{
    guarded(this, [this] {
        RaceInput input;
        input.clubName = combClub_->currentText();
        input.liberCode = edtLibCode_->text();
        input.liberSite = combLibSite_->currentText();
        input.liberSiteAbbr = edtlibSiteAbbriv_->text();
        input.liberLon = maskedText(medtRaceLon_);
        input.liberLat = maskedText(medtRaceLat_);
        input.liberDate = dtpLibDate_->date();
        input.liberTime = dtpLibTime_->time();
        const RaceSaveResult result = saveRace(dm_, input, QDateTime::currentDateTime());
        if (result == RaceSaveResult::NewPointAndRace)
            chkLibPoint_->setChecked(false);
        const QString site = combLibSite_->currentText();
        loadRaceList();
        setPointFieldsEnabled(false);
        fillLiberationSites();
        combLibSite_->setEditText(site);
    });
}

void TfrmRace::btnSetSunDataClick()
{
    guarded(this, [this] {
        auto fixed = [this](int row, int column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsEnabled);
            StrGridSunSet_->setItem(row, column, item);
        };
        const QStringList titles{QStringLiteral("Race Date"), QStringLiteral("Location"), QStringLiteral("Sunset"),
                                 QStringLiteral("Sunrise")};
        const QStringList hints{QStringLiteral("yyyy-mm-dd "), QString(), QStringLiteral("hh:nn:ss"),
                                QStringLiteral("hh:nn:ss")};
        for (int c = 0; c < 4; ++c) {
            fixed(0, c, titles.at(c));
            fixed(1, c, hints.at(c));
        }
        const QList<SunRowText> rows = readSunRows(dm_, raceCodeOfDetail());
        for (int i = 0; i < SunTableDayRows; ++i) {
            const SunRowText row = i < rows.size() ? rows.at(i) : SunRowText{};
            const QStringList cells{row.raceDate, row.location, row.sunSet, row.sunRise};
            for (int c = 0; c < 4; ++c)
                StrGridSunSet_->setItem(2 + i, c, new QTableWidgetItem(cells.at(c)));
        }
        pnlSunData_->show();
        StrGridSunSet_->setFocus();
    });
}

void TfrmRace::btnOK_SunClick()
{
    guarded(this, [this] {
        auto cell = [this](int row, int column) {
            const QTableWidgetItem* item = StrGridSunSet_->item(row, column);
            return item ? item->text() : QString();
        };
        QList<SunRowText> rows;
        for (int i = 0; i < SunTableDayRows; ++i)
            rows << SunRowText{cell(2 + i, 0), cell(2 + i, 1), cell(2 + i, 2), cell(2 + i, 3)};
        saveSunRows(dm_, raceCodeOfDetail(), rows);
        pnlSunData_->hide();
    });
}

void TfrmRace::btnCan_SunClick()
{
    pnlSunData_->hide();
}

void TfrmRace::DDelete1Click()
{
    guarded(this, [this] {
        deleteLiberationPoint(dm_, edtLibCode_->text());
        fillLiberationSites();
    });
}

void TfrmRace::AAdd1Click()
{
    grpClubMap_->show();
    edtClubCode_->setFocus();
}

void TfrmRace::btnClubSaveClick()
{
    guarded(this, [this] {
        addClub(dm_, edtClubCode_->text(), edtClubNmae_->text());
        grpClubMap_->hide();
        fillClubs();
    });
}

void TfrmRace::btnClubCancelClick()
{
    grpClubMap_->hide();
}

void TfrmRace::DDelete2Click()
{
    guarded(this, [this] {
        deleteClubByName(dm_, combClub_->currentText());
        fillClubs();
    });
}

void TfrmRace::dbgrd1TitleClick(int column)
{
    if (column < 0 || column >= adoqRacePoint_->fields().size())
        return;
    sortOrder() = nextSortText(sortOrder(), adoqRacePoint_->fields().at(column));
    adoqRacePoint_->applySort(sortOrder());
}

void TfrmRace::dbgrdLoftLibDistTitleClick(int column)
{
    if (column < 0 || column >= adotLoftRaceDist_->fields().size())
        return;
    guarded(this, [&] {
        adotLoftRaceDist_->submit();
        sortOrder() = nextSortText(sortOrder(), adotLoftRaceDist_->fields().at(column));
        loadDistanceRows();
    });
}

void TfrmRace::openDistanceView()
{
    guarded(this, [this] {
        const SelectedRace race = requireSelectedRace();
        distanceCode_ = race.key.liberCode;
        loadDistanceRows();
        lblLoftPointDistTitle_->setText(QStringLiteral("Members Distance of ") + race.liberSite);
        const QStringList titles = distanceTitles(dm_.clubSettings().Mode != 0);
        adotLoftRaceDist_->setTitle(QStringLiteral("Miles"), titles.at(0));
        adotLoftRaceDist_->setTitle(QStringLiteral("Yards"), titles.at(1));
        showOnly(pnlLoftLibPointDist_);
    });
}

void TfrmRace::loadDistanceRows()
{
    const QModelIndex current = dbgrdLoftLibDist_->currentIndex();
    const QString currentLoftNo =
        current.isValid() ? adotLoftRaceDist_->value(current.row(), QStringLiteral("LoftNo")).toString() : QString();
    QSqlQuery query = dm_.exec(QStringLiteral("SELECT b.LoftName AS LoftName, a.LoftNo, a.Miles, a.Yards, a.LiberCode "
                                              "FROM ZAVR_LoftLibPointDist a LEFT JOIN ZAVR_LoftData b ON b.LoftNo = a.LoftNo "
                                              "WHERE a.LiberCode = ? ORDER BY a.rowid"),
                               {distanceCode_});
    adotLoftRaceDist_->clearEdits();
    adotLoftRaceDist_->setQueryResult(query);
    if (adotLoftRaceDist_->fieldIndex(sortOrder().section(QLatin1Char(' '), 0, 0)) >= 0)
        adotLoftRaceDist_->applySort(sortOrder());
    dbgrdLoftLibDist_->setColumnHidden(adotLoftRaceDist_->fieldIndex(QStringLiteral("LiberCode")), true);
    dbgrdLoftLibDist_->resizeColumnsToContents();
    if (const int row = adotLoftRaceDist_->findRow(QStringLiteral("LoftNo"), currentLoftNo); !currentLoftNo.isEmpty() && row >= 0) {
        const QSignalBlocker block(dbgrdLoftLibDist_->selectionModel());
        dbgrdLoftLibDist_->setCurrentIndex(adotLoftRaceDist_->index(row, current.column()));
    }
}

bool TfrmRace::postLoftDistance(const QString& loftNo, int miles, int yards)
{
    return guarded(this, [&] { saveLoftDistance(dm_, distanceCode_, loftNo, miles, yards); });
}

void TfrmRace::btnLoftDistUpdateClick()
{
    // A change being typed in the grid is dropped.
    for (QWidget* editor : dbgrdLoftLibDist_->findChildren<QWidget*>(QStringLiteral("dbgrdLoftLibDistEditor")))
        if (editor->isVisible())
            static_cast<DistanceDelegate*>(dbgrdLoftLibDist_->itemDelegate())->cancel(editor);
    adotLoftRaceDist_->revert();
    guarded(this, [this] {
        const SelectedRace race = requireSelectedRace();
        const LoftDistUpdateResult result = LoftDistUpdate(dm_, race.key);
        loadDistanceRows();
        for (const QString& message : result.messages)
            Dialogs::information(this, message);
    });
}

void TfrmRace::btnLoftLibDistClick()
{
    adotLoftRaceDist_->submit();
    showOnly(pnlRacePoint_);
}
