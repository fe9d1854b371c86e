#include "TfrmMember.h"

#include "ActionMenuBox.h"
#include "CountryEntryAids.h"
#include "DataFolder.h"
#include "Dialogs.h"
#include "DisplayRules.h"
#include "ErrorHandler.h"
#include "Formats.h"
#include "ListReports.h"
#include "MemberLogic.h"
#include "PageTitle.h"
#include "ReportPreview.h"
#include "RingLogic.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QValidator>
#include <functional>

QPointer<TfrmMember> frmMember;

namespace {

// Upper-cases what is typed (when asked) and refuses characters outside an allowed set.
class KeyFilterValidator : public QValidator {
public:
    KeyFilterValidator(bool upperCase, std::function<bool(QChar)> allowed, QObject* parent)
        : QValidator(parent), upperCase_(upperCase), allowed_(std::move(allowed))
    {
    }
    State validate(QString& input, int& /*pos*/) const override
    {
        if (upperCase_)
            input = input.toUpper();
        for (const QChar c : input)
            if (allowed_ && !allowed_(c))
                return Invalid;
        return Acceptable;
    }

private:
    bool upperCase_;
    std::function<bool(QChar)> allowed_;
};

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

QLineEdit* lineEdit(const char* name, QWidget* parent, int maxLength = 0)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QComboBox* comboBox(const char* name, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}

QLabel* label(const char* name, const QString& caption, QWidget* parent)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// Coordinates: a letter or digit (upper-cased), then digits, with the literals kept; positions
// not typed stay blank, so the stored text always has 13 characters.
const QString CoordinateMask = QStringLiteral(">N000'00:00.00; ");

QString coordinateText(const QLineEdit* edit) { return edit->displayText(); }

}  // namespace

TfrmMember::TfrmMember(TdmZAVR& dm, const DataFolder& folder, QWidget* parent)
    : QWidget(parent),
      dm_(dm),
      folder_(folder),
      adoqDBGridLoft_(new RowSetModel(this)),
      adoqDBGridMRing_(new RowSetModel(this)),
      adoqClockList_(new RowSetModel(this))
{
    setObjectName(QStringLiteral("frmMember"));
    QVBoxLayout* layout = addPageTitle(this, QStringLiteral("Member"), &lblTitle_);

    auto* body = new QHBoxLayout;
    layout->addLayout(body, 1);
    auto* Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* Image4 = label("Image4", QString(), Panel1);
    Image4->setMinimumWidth(24);
    (new QVBoxLayout(Panel1))->addWidget(Image4);
    body->addWidget(Panel1);

    auto* panels = new QVBoxLayout;
    body->addLayout(panels, 1);
    pnlMem_ = new QWidget(this);
    pnlMem_->setObjectName(QStringLiteral("pnlMem"));
    pnlNewMember_ = new QWidget(this);
    pnlNewMember_->setObjectName(QStringLiteral("pnlNewMember"));
    pnlMemRing_ = new QWidget(this);
    pnlMemRing_->setObjectName(QStringLiteral("pnlMemRing"));
    pnlClockList_ = new QWidget(this);
    pnlClockList_->setObjectName(QStringLiteral("pnlClockList"));
    for (QWidget* panel : {pnlMem_, pnlNewMember_, pnlMemRing_, pnlClockList_})
        panels->addWidget(panel, 1);

    buildMemberList(pnlMem_);
    buildMemberForm(pnlNewMember_);
    buildRingPanel(pnlMemRing_);
    buildClockPanel(pnlClockList_);

    pnlNewMember_->hide();
    pnlMemRing_->hide();
    pnlClockList_->hide();
}

TfrmMember::~TfrmMember() = default;

QString& TfrmMember::gridSortOrder()
{
    static QString text;
    return text;
}

QTableView* TfrmMember::makeGrid(const QString& name, RowSetModel* model, QWidget* parent)
{
    QTableView* grid = makeReadOnlyGrid(parent, name, model);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->viewport()->installEventFilter(this);
    enableTitleSort(grid, model, &gridSortOrder());
    return grid;
}

void TfrmMember::buildMemberList(QWidget* panel)
{
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    layout->addLayout(top);
    top->addWidget(new QLabel(QStringLiteral("Loft Name :"), panel));
    combLoftName_ = comboBox("combLoftName", panel);
    combLoftName_->setMinimumContentsLength(20);
    top->addWidget(combLoftName_);
    top->addSpacing(16);
    top->addWidget(new QLabel(QStringLiteral("Number of Members:"), panel));
    lblMemCnt_ = label("lblMemCnt", QStringLiteral("000"), panel);
    top->addWidget(lblMemCnt_);
    top->addStretch(1);
    auto* btnMemNew = button("btnMemNew", QStringLiteral("AddNew"), panel);
    top->addWidget(btnMemNew);
    auto* butPrtMemList = button("butPrtMemList", QStringLiteral("Print"), panel);
    connect(butPrtMemList, &QPushButton::clicked, this, &TfrmMember::butPrtMemListClick);
    top->addWidget(butPrtMemList);

    adoqDBGridLoft_->setObjectName(QStringLiteral("adoqDBGridLoft"));
    dbgrdMem_ = makeGrid(QStringLiteral("dbgrdMem"), adoqDBGridLoft_, panel);
    layout->addWidget(dbgrdMem_, 1);

    rgMem_ = new ActionMenuBox(QStringLiteral("rgMem"),
                               {QStringLiteral("Edit Member"), QStringLiteral("Delete Member"),
                                QStringLiteral("---------------------"), QStringLiteral("Member Rings List"),
                                QStringLiteral("Member Clocks")},
                               this);

    connect(btnMemNew, &QPushButton::clicked, this, [this] { guarded(this, [this] { btnMemNewClick(); }); });
    connect(dbgrdMem_, &QTableView::doubleClicked, this, [this] { guarded(this, [this] { dbgrdMemDblClick(); }); });
    connect(rgMem_, &ActionMenuBox::itemChosen, this, &TfrmMember::rgMemClick);
    connect(combLoftName_, &QComboBox::activated, this, [this] { guarded(this, [this] { combLoftNameClick(); }); });
    connect(combLoftName_->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { guarded(this, [this] { combLoftNameClick(); }); });
}

void TfrmMember::buildMemberForm(QWidget* panel)
{
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* groups = new QHBoxLayout;
    layout->addLayout(groups);

    auto* grp1 = new QGroupBox(QStringLiteral("Personal Details"), panel);
    grp1->setObjectName(QStringLiteral("grp1"));
    auto* personal = new QFormLayout(grp1);
    edtName_ = lineEdit("edtName", grp1);
    edtStreet_ = lineEdit("edtStreet", grp1);
    edtToneCity_ = lineEdit("edtToneCity", grp1);
    edtPostCode_ = lineEdit("edtPostCode", grp1);
    edtPhone_ = lineEdit("edtPhone", grp1);
    personal->addRow(QStringLiteral("Name:"), edtName_);
    personal->addRow(QStringLiteral("Street:"), edtStreet_);
    personal->addRow(QStringLiteral("Country:"), edtToneCity_);
    personal->addRow(QStringLiteral("Post Code:"), edtPostCode_);
    personal->addRow(QStringLiteral("Telephone Number:"), edtPhone_);
    groups->addWidget(grp1, 1);

    auto* grpLoftNo = new QGroupBox(QStringLiteral("Loft Information"), panel);
    grpLoftNo->setObjectName(QStringLiteral("grpLoftNo"));
    auto* loft = new QGridLayout(grpLoftNo);
    edtSeriesNo_ = lineEdit("edtSeriesNo", grpLoftNo, 12);
    edtSeriesNo_->setValidator(new KeyFilterValidator(true, {}, edtSeriesNo_));
    medtLoftLon_ = lineEdit("medtLoftLon", grpLoftNo);
    medtLoftLon_->setInputMask(CoordinateMask);
    medtLoftLat_ = lineEdit("medtLoftLat", grpLoftNo);
    medtLoftLat_->setInputMask(CoordinateMask);
    loft->addWidget(new QLabel(QStringLiteral("Loft Number:"), grpLoftNo), 0, 0);
    loft->addWidget(edtSeriesNo_, 0, 1);
    loft->addWidget(new QLabel(QStringLiteral("Lontitude :"), grpLoftNo), 1, 0);
    loft->addWidget(medtLoftLon_, 1, 1);
    loft->addWidget(new QLabel(QStringLiteral("(E121'23:24.33)"), grpLoftNo), 1, 2);
    loft->addWidget(new QLabel(QStringLiteral("Latitude :"), grpLoftNo), 2, 0);
    loft->addWidget(medtLoftLat_, 2, 1);
    loft->addWidget(new QLabel(QStringLiteral("(N024'22:30.44)"), grpLoftNo), 2, 2);
    groups->addWidget(grpLoftNo, 1);

    auto* grpNotes = new QGroupBox(QStringLiteral("Notes"), panel);
    grpNotes->setObjectName(QStringLiteral("grpNotes"));
    mmoNote_ = new QPlainTextEdit(grpNotes);
    mmoNote_->setObjectName(QStringLiteral("mmoNote"));
    (new QVBoxLayout(grpNotes))->addWidget(mmoNote_);
    layout->addWidget(grpNotes, 1);

    // The member's association code travels with the form but is never shown. Its limit is the
    // column's, so that a longer club code is kept whole.
    edtUnionCode_ = lineEdit("edtUnionCode", panel, 10);
    edtUnionCode_->setValidator(new KeyFilterValidator(true, {}, edtUnionCode_));
    edtUnionCode_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* btnOK = button("btnOK", QStringLiteral("Save"), panel);
    auto* btnCancel = button("btnCancel", QStringLiteral("Cancel"), panel);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    connect(btnOK, &QPushButton::clicked, this, [this] { guarded(this, [this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { guarded(this, [this] { btnCancelClick(); }); });
}

void TfrmMember::buildRingPanel(QWidget* panel)
{
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    layout->addLayout(top);
    top->addWidget(new QLabel(QStringLiteral("Number of rings :"), panel));
    lblRingCnt_ = label("lblRingCnt", QStringLiteral("000"), panel);
    top->addWidget(lblRingCnt_);
    top->addStretch(1);
    auto* butPrtRingList = button("butPrtRingList", QStringLiteral("Print"), panel);
    connect(butPrtRingList, &QPushButton::clicked, this, &TfrmMember::butPrtRingListClick);
    top->addWidget(butPrtRingList);

    adoqDBGridMRing_->setObjectName(QStringLiteral("adoqDBGridMRing"));
    adoqDBGridMRing_->setTitle(QStringLiteral("PRingNo"), QStringLiteral("Life Ring Number"));
    adoqDBGridMRing_->setTitle(QStringLiteral("ColorType"), QStringLiteral("Color"));
    adoqDBGridMRing_->setTitle(QStringLiteral("Sex"), QStringLiteral("Sex of bird"));
    adoqDBGridMRing_->setTitle(QStringLiteral("E_Ring"), QStringLiteral("E_Ring Assignment"));
    adoqDBGridMRing_->setTitle(QStringLiteral("CreateDate"), QStringLiteral("Create Date"));
    adoqDBGridMRing_->setTitle(QStringLiteral("AssignDate"), QStringLiteral("Assign Date"));
    adoqDBGridMRing_->setTitle(QStringLiteral("Updatetime"), QStringLiteral("Last Update"));
    adoqDBGridMRing_->setDisplayRule(QStringLiteral("Sex"), DisplayRules::sexText);
    adoqDBGridMRing_->setDisplayRule(QStringLiteral("Updatetime"), DisplayRules::ringUpdateTimeText);
    adoqDBGridMRing_->setDisplayRule(QStringLiteral("ColorType"), [this](const QVariant& code) {
        return colourNames_ ? colourNames_->name(code) : QString::fromLatin1(DisplayRules::OtherColourName);
    });
    adoqDBGridMRing_->setDisplayRule(QStringLiteral("CreateDate"), DisplayRules::dateTimeText);
    adoqDBGridMRing_->setDisplayRule(QStringLiteral("AssignDate"), DisplayRules::dateTimeText);
    dbgrdMemRing_ = makeGrid(QStringLiteral("dbgrdMemRing"), adoqDBGridMRing_, panel);
    layout->addWidget(dbgrdMemRing_, 1);

    rgMemRing_ = new ActionMenuBox(QStringLiteral("rgMemRing"), {QStringLiteral("Edit Ring"), QStringLiteral("Delete Ring")},
                                   this);

    auto* pnlMRingData = new QWidget(panel);
    pnlMRingData->setObjectName(QStringLiteral("pnlMRingData"));
    auto* form = new QGridLayout(pnlMRingData);
    form->setContentsMargins(0, 0, 0, 0);
    cbbCountryRingCode_ = comboBox("cbbCountryRingCode", pnlMRingData);
    cbbCountryRingCode_->lineEdit()->setMaxLength(4);
    cbbCountryRingCode_->setValidator(new KeyFilterValidator(true, {}, cbbCountryRingCode_));
    combBYear_ = comboBox("combBYear", pnlMRingData);
    combBYear_->lineEdit()->setMaxLength(2);
    edtRegLetter_ = lineEdit("edtRegLetter", pnlMRingData, 4);
    edtRegLetter_->setValidator(new KeyFilterValidator(
        true, [this](QChar c) { return letterKeyAllowed(countryAid_, c); }, edtRegLetter_));
    edtRegLetter_->installEventFilter(this);
    edtRegNum_ = lineEdit("edtRegNum", pnlMRingData, 7);
    edtRegNum_->setValidator(
        new KeyFilterValidator(false, [](QChar c) { return isDigit(c) || c == QLatin1Char('-'); }, edtRegNum_));
    edtUpRegNum_ = lineEdit("edtUpRegNum", pnlMRingData, 7);
    edtUpRegNum_->setValidator(new KeyFilterValidator(false, isDigit, edtUpRegNum_));
    lblUpRegNum_ = label("lblUpRegNum", QStringLiteral("Upper registration number :"), pnlMRingData);
    cbbSex_ = comboBox("cbbSex", pnlMRingData);
    cbbSex_->addItems({QStringLiteral("Hen"), QStringLiteral("Cock"), QString()});
    cbbSex_->setEditText(QStringLiteral("COCK"));
    cbbBColour_ = comboBox("cbbBColour", pnlMRingData);
    mmoComment_ = new QPlainTextEdit(pnlMRingData);
    mmoComment_->setObjectName(QStringLiteral("mmoComment"));
    mmoComment_->setMaximumHeight(70);

    form->addWidget(new QLabel(QStringLiteral("Association :"), pnlMRingData), 0, 0);
    form->addWidget(cbbCountryRingCode_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Birth Year:"), pnlMRingData), 0, 2);
    form->addWidget(combBYear_, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("Registration Letter :"), pnlMRingData), 1, 0);
    form->addWidget(edtRegLetter_, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("Registration Number :"), pnlMRingData), 1, 2);
    form->addWidget(edtRegNum_, 1, 3);
    form->addWidget(lblUpRegNum_, 2, 2);
    form->addWidget(edtUpRegNum_, 2, 3);
    form->addWidget(new QLabel(QStringLiteral("Sex of the bird :"), pnlMRingData), 3, 0);
    form->addWidget(cbbSex_, 3, 1);
    form->addWidget(new QLabel(QStringLiteral("Bird color :"), pnlMRingData), 3, 2);
    form->addWidget(cbbBColour_, 3, 3);
    form->addWidget(new QLabel(QStringLiteral("Comment :"), pnlMRingData), 4, 0);
    form->addWidget(mmoComment_, 4, 1, 1, 3);
    auto* buttons = new QHBoxLayout;
    auto* btnNew = button("btnNew", QStringLiteral("AddNew"), pnlMRingData);
    auto* btnNew2 = button("btnNew2", QStringLiteral("Add a Range"), pnlMRingData);
    auto* btnOK_Ring = button("btnOK_Ring", QStringLiteral("Save"), pnlMRingData);
    auto* btnCan_Ring = button("btnCan_Ring", QStringLiteral("Cancel"), pnlMRingData);
    buttons->addStretch(1);
    for (QPushButton* b : {btnNew, btnNew2, btnOK_Ring, btnCan_Ring})
        buttons->addWidget(b);
    form->addLayout(buttons, 5, 0, 1, 4);
    layout->addWidget(pnlMRingData);
    edtUpRegNum_->hide();
    lblUpRegNum_->hide();

    connect(btnNew, &QPushButton::clicked, this, [this] { guarded(this, [this] { btnNewClick(); }); });
    connect(btnNew2, &QPushButton::clicked, this, [this] { guarded(this, [this] { btnNew2Click(); }); });
    connect(btnOK_Ring, &QPushButton::clicked, this, [this] { guarded(this, [this] { btnOK_RingClick(); }); });
    connect(btnCan_Ring, &QPushButton::clicked, this, [this] { guarded(this, [this] { btnCan_RingClick(); }); });
    connect(dbgrdMemRing_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { guarded(this, [this, index] { dbgrdMemRingCellClick(index); }); });
    connect(rgMemRing_, &ActionMenuBox::itemChosen, this, &TfrmMember::rgMemRingClick);
    // The entry aids follow the user's choice or typing, not a pigeon loaded for editing.
    connect(cbbCountryRingCode_, &QComboBox::activated, this, [this] { guarded(this, [this] { cbbCountryRingCodeChange(); }); });
    connect(cbbCountryRingCode_->lineEdit(), &QLineEdit::textEdited, this,
            [this] { guarded(this, [this] { cbbCountryRingCodeChange(); }); });
}

void TfrmMember::buildClockPanel(QWidget* panel)
{
    // The clock list of the selected member; its query, add-clock box and menu actions belong to
    // the loft clocks feature. The grid already shares the page's sort order.
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    adoqClockList_->setObjectName(QStringLiteral("adoqClockList"));
    dbgrdClockList_ = makeGrid(QStringLiteral("dbgrdClockList"), adoqClockList_, panel);
    layout->addWidget(dbgrdClockList_, 1);
    rgClockList_ = new ActionMenuBox(QStringLiteral("rgClockList"), {QStringLiteral("Delete")}, this);
}

// --- Showing the page -------------------------------------------------------------------------

void TfrmMember::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shownOnce_ && !event->spontaneous()) {
        shownOnce_ = true;
        FormShow();
    }
}

void TfrmMember::FormShow()
{
    guarded(this, [this] {
        cbbCountryRingCode_->clear();
        cbbCountryRingCode_->addItems(readCountryRingCodes(folder_.iniPath()));
        cbbCountryRingCode_->setCurrentIndex(-1);
    });
    guarded(this, [this] {
        cbbBColour_->clear();
        cbbBColour_->addItem(QString::fromLatin1(DisplayRules::OtherColourName));
        cbbBColour_->addItems(colourNames(dm_));
        cbbBColour_->setCurrentIndex(0);
    });
    guarded(this, [this] { refreshMemberList(QString()); });
    pnlMemRing_->hide();
    pnlNewMember_->hide();
    pnlClockList_->hide();
    pnlMem_->show();
    lblTitle_->setText(QStringLiteral("Member"));
    rgMem_->hide();
    rgMemRing_->hide();
    rgClockList_->hide();
    combBYear_->clear();
    combBYear_->addItems(birthYears(QDate::currentDate()));
    combBYear_->setEditText(twoDigitYear(QDate::currentDate()));
    guarded(this, [this] {
        combLoftName_->clear();
        combLoftName_->addItems(memberNames(dm_));
        combLoftName_->setCurrentIndex(-1);
    });
    combLoftName_->setFocus();
}

// --- Member list ------------------------------------------------------------------------------

void TfrmMember::butPrtMemListClick()
{
    guarded(this, [this] { produceReport(this, ListReports::memberList(dm_.clubSettings(), *adoqDBGridLoft_)); });
}

void TfrmMember::butPrtRingListClick()
{
    guarded(this, [this] {
        produceReport(this, ListReports::ringList(dm_, dm_.clubSettings(), selectedLoftName(), selectedLoftNo(),
                                                  *adoqDBGridMRing_));
    });
}

QString TfrmMember::selectedLoftNo() const
{
    const int row = dbgrdMem_->currentIndex().row();
    return row < 0 ? QString() : adoqDBGridLoft_->value(row, QStringLiteral("LoftNo")).toString();
}

QString TfrmMember::selectedLoftName() const
{
    const int row = dbgrdMem_->currentIndex().row();
    return row < 0 ? QString() : adoqDBGridLoft_->value(row, QStringLiteral("LoftName")).toString();
}

void TfrmMember::refreshMemberList(const QString& selectLoftNo)
{
    const QString keep = selectLoftNo.isEmpty() ? selectedLoftNo() : selectLoftNo;
    adoqDBGridLoft_->applySort(QString());  // a re-run query comes in the statement's own order
    adoqDBGridLoft_->clear();
    lblMemCnt_->setText(countText(0));
    QSqlQuery query = memberListQuery(dm_);
    adoqDBGridLoft_->setQueryResult(query);
    const int associationColumn = adoqDBGridLoft_->fieldIndex(QStringLiteral("AssociationCode"));
    if (associationColumn >= 0)
        dbgrdMem_->setColumnHidden(associationColumn, true);
    lblMemCnt_->setText(countText(adoqDBGridLoft_->rowCount()));
    int row = adoqDBGridLoft_->findRow(QStringLiteral("LoftNo"), keep);
    if (row < 0 && adoqDBGridLoft_->rowCount() > 0)
        row = 0;
    if (row >= 0)
        dbgrdMem_->setCurrentIndex(adoqDBGridLoft_->index(row, adoqDBGridLoft_->fieldIndex(QStringLiteral("LoftNo"))));
    dbgrdMem_->resizeColumnsToContents();
}

void TfrmMember::combLoftNameClick()
{
    const int row = adoqDBGridLoft_->findRow(QStringLiteral("LoftName"), combLoftName_->currentText());
    if (row >= 0)
        dbgrdMem_->setCurrentIndex(adoqDBGridLoft_->index(row, adoqDBGridLoft_->fieldIndex(QStringLiteral("LoftNo"))));
}

void TfrmMember::dbgrdMemDblClick()
{
    OpenRingList();
}

void TfrmMember::rgMemClick(int index)
{
    guarded(this, [this, index] {
        switch (index) {
        case 0:
            EditMember();
            break;
        case 1:
            DeleteMember();
            break;
        case 3:
            OpenRingList();
            break;
        default:
            // The separator does nothing; "Member Clocks" opens the clock list once loft clocks
            // are managed here.
            break;
        }
    });
    rgMem_->clearChoice();
    rgMem_->hide();
}

bool TfrmMember::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        ActionMenuBox* menu = nullptr;
        if (watched == dbgrdMem_->viewport())
            menu = rgMem_;
        else if (watched == dbgrdMemRing_->viewport())
            menu = rgMemRing_;
        else if (watched == dbgrdClockList_->viewport())
            menu = rgClockList_;
        if (menu) {
            menu->hide();
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton)
                menu->popupAt(static_cast<QWidget*>(watched)->mapTo(this, mouse->position().toPoint()));
        }
    } else if (event->type() == QEvent::FocusOut && watched == edtRegLetter_) {
        // Only leaving the field checks it: not a context menu or another window taking the
        // focus for a while, nor the page being hidden.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && isVisible())
            edtRegLetterExit();
    }
    return QWidget::eventFilter(watched, event);
}

// --- Member form ------------------------------------------------------------------------------

void TfrmMember::btnMemNewClick()
{
    for (QLineEdit* e : {edtName_, edtPhone_, edtPostCode_, edtStreet_, edtToneCity_, edtSeriesNo_, medtLoftLon_, medtLoftLat_})
        e->clear();
    mmoNote_->clear();
    edtUnionCode_->setText(dm_.clubSettings().AssociationCode);
    lblTitle_->setText(QStringLiteral("Member New Add"));
    pnlMem_->hide();
    pnlMemRing_->hide();
    pnlNewMember_->show();
    edtSeriesNo_->setEnabled(true);
    edtName_->setFocus();
}

void TfrmMember::EditMember()
{
    const QString loftNo = selectedLoftNo();
    if (loftNo.isEmpty())
        return;
    const auto row = dm_.locate(QStringLiteral("ZAVR_LoftData"), {QStringLiteral("LoftNo")}, {loftNo});
    if (!row)
        return;
    const auto text = [&row](const char* field) { return row->value(QString::fromLatin1(field)).toString(); };
    edtName_->setText(text("LoftName"));
    edtPhone_->setText(text("PhoneNo"));
    edtPostCode_->setText(text("PostCode"));
    edtStreet_->setText(text("Street"));
    edtToneCity_->setText(text("City"));
    edtSeriesNo_->setText(text("LoftNo"));
    edtUnionCode_->setText(text("AssociationCode"));
    mmoNote_->setPlainText(text("Notes"));
    medtLoftLon_->setText(text("LoftLon"));
    medtLoftLat_->setText(text("LoftLat"));
    lblTitle_->setText(QStringLiteral("Member Edit Update"));
    pnlMem_->hide();
    pnlNewMember_->show();
    edtName_->setFocus();
    edtSeriesNo_->setEnabled(false);
}

void TfrmMember::btnOKClick()
{
    MemberInput in;
    in.associationCode = edtUnionCode_->text();
    in.loftNo = edtSeriesNo_->text();
    in.loftName = edtName_->text();
    in.street = edtStreet_->text();
    in.city = edtToneCity_->text();
    in.postCode = edtPostCode_->text();
    in.phoneNo = edtPhone_->text();
    in.loftLon = coordinateText(medtLoftLon_);
    in.loftLat = coordinateText(medtLoftLat_);
    in.notes = mmoNote_->toPlainText();
    if (const QString error = memberInputError(in); !error.isEmpty()) {
        Dialogs::information(this, error);
        return;
    }
    saveMember(dm_, in, QDateTime::currentDateTime());
    refreshMemberList(in.loftNo);
    pnlNewMember_->hide();
    pnlMem_->show();
}

void TfrmMember::btnCancelClick()
{
    pnlNewMember_->hide();
    pnlMem_->show();
    lblTitle_->setText(QStringLiteral("Member"));
}

void TfrmMember::DeleteMember()
{
    const QString loftNo = selectedLoftNo();
    if (loftNo.isEmpty())
        return;
    const int pigeons = memberPigeonCount(dm_, loftNo);
    bool remove = pigeons == 0;
    if (!remove)
        remove = Dialogs::question(this, QStringLiteral("This Loft has %1 pigeon records, Do you want delete all data ?")
                                             .arg(pigeons))
                 == QMessageBox::Yes;
    if (remove)
        deleteMember(dm_, loftNo);
    refreshMemberList(QString());
}

// --- Ring list and form -----------------------------------------------------------------------

void TfrmMember::OpenRingList()
{
    if (selectedLoftNo().isEmpty())
        return;
    pnlMem_->hide();
    pnlNewMember_->hide();
    pnlMemRing_->show();
    lblTitle_->setText(selectedLoftName() + QStringLiteral("'s Ring List"));
    edtUpRegNum_->clear();
    edtUpRegNum_->hide();
    lblUpRegNum_->hide();
    cbbCountryRingCode_->setFocus();
    refreshRingList(QString());
}

void TfrmMember::refreshRingList(const QString& selectRingNo)
{
    adoqDBGridMRing_->applySort(QString());
    adoqDBGridMRing_->clear();
    colourNames_.emplace(dm_);
    lblRingCnt_->setText(countText(0));
    QSqlQuery query = ringListQuery(dm_, selectedLoftNo());
    adoqDBGridMRing_->setQueryResult(query);
    // The grid shows these fields in this order; the query keeps every field for the report.
    static const QStringList shown{QStringLiteral("PRingNo"),    QStringLiteral("ColorType"),  QStringLiteral("Sex"),
                                   QStringLiteral("E_Ring"),     QStringLiteral("CreateDate"), QStringLiteral("AssignDate"),
                                   QStringLiteral("Updatetime")};
    QHeaderView* header = dbgrdMemRing_->horizontalHeader();
    for (int c = 0; c < adoqDBGridMRing_->columnCount(); ++c)
        dbgrdMemRing_->setColumnHidden(c, !shown.contains(adoqDBGridMRing_->fields().at(c), Qt::CaseInsensitive));
    for (int i = 0; i < shown.size(); ++i) {
        const int logical = adoqDBGridMRing_->fieldIndex(shown.at(i));
        if (logical >= 0)
            header->moveSection(header->visualIndex(logical), i);
    }
    lblRingCnt_->setText(countText(adoqDBGridMRing_->rowCount()));
    if (const int row = adoqDBGridMRing_->findRow(QStringLiteral("PRingNo"), selectRingNo); !selectRingNo.isEmpty() && row >= 0)
        dbgrdMemRing_->setCurrentIndex(adoqDBGridMRing_->index(row, adoqDBGridMRing_->fieldIndex(QStringLiteral("PRingNo"))));
    dbgrdMemRing_->resizeColumnsToContents();
}

QString TfrmMember::selectedRingNo() const
{
    const int row = dbgrdMemRing_->currentIndex().row();
    return row < 0 ? QString() : adoqDBGridMRing_->value(row, QStringLiteral("PRingNo")).toString();
}

void TfrmMember::setRingKeyFieldsEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{cbbCountryRingCode_, combBYear_, edtRegLetter_, edtRegNum_})
        w->setEnabled(enabled);
}

void TfrmMember::prepareRingInsert(bool range)
{
    setRingKeyFieldsEnabled(true);
    edtRegLetter_->clear();
    edtRegNum_->clear();
    mmoComment_->clear();
    cbbCountryRingCode_->setFocus();
    combBYear_->setEditText(twoDigitYear(QDate::currentDate()));
    edtUpRegNum_->setVisible(range);
    lblUpRegNum_->setVisible(range);
    applyCountryEntryAid();
}

void TfrmMember::btnNewClick()
{
    prepareRingInsert(false);
}

void TfrmMember::btnNew2Click()
{
    prepareRingInsert(true);
}

void TfrmMember::loadPigeon(const QString& ringNo)
{
    const auto pigeon = ::loadPigeon(dm_, selectedLoftNo(), ringNo);
    if (!pigeon)
        return;
    cbbCountryRingCode_->setEditText(pigeon->country);
    cbbBColour_->setEditText(colourNames_ ? colourNames_->name(pigeon->colourCode)
                                          : QString::fromLatin1(DisplayRules::OtherColourName));
    cbbSex_->setEditText(pigeon->sex == QLatin1String("H") ? QStringLiteral("Hen") : QStringLiteral("Cock"));
    combBYear_->setEditText(pigeon->year);
    // Set past the entry aids: a stored pigeon is shown as it is.
    const int letterLimit = edtRegLetter_->maxLength();
    const int numberLimit = edtRegNum_->maxLength();
    edtRegLetter_->setMaxLength(4);
    edtRegNum_->setMaxLength(7);
    edtRegLetter_->setText(pigeon->letters);
    edtRegNum_->setText(pigeon->number);
    edtRegLetter_->setMaxLength(std::max(letterLimit, static_cast<int>(pigeon->letters.size())));
    edtRegNum_->setMaxLength(std::max(numberLimit, static_cast<int>(pigeon->number.size())));
    mmoComment_->setPlainText(pigeon->comment);
    setRingKeyFieldsEnabled(false);
}

void TfrmMember::dbgrdMemRingCellClick(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    loadPigeon(adoqDBGridMRing_->value(index.row(), QStringLiteral("PRingNo")).toString());
}

void TfrmMember::btnOK_RingClick()
{
    RingInput in;
    in.loftNo = selectedLoftNo();
    in.country = cbbCountryRingCode_->currentText();
    in.year = combBYear_->currentText();
    in.letters = edtRegLetter_->text();
    in.number = edtRegNum_->text();
    in.upperNumber = edtUpRegNum_->text();
    in.sex = sexCode(cbbSex_->currentText());
    in.colourCode = colourCode(dm_, cbbBColour_->currentText());
    in.comment = mmoComment_->toPlainText();
    const RingSaveResult result = saveRing(dm_, in, QDateTime::currentDateTime());
    refreshRingList(result.lastRingNo());
    edtUpRegNum_->clear();
}

void TfrmMember::btnCan_RingClick()
{
    edtRegLetter_->clear();
    edtRegNum_->clear();
    mmoComment_->clear();
    cbbCountryRingCode_->setFocus();
    applyCountryEntryAid();
}

void TfrmMember::rgMemRingClick(int index)
{
    guarded(this, [this, index] {
        const QString ringNo = selectedRingNo();
        if (index == 0) {
            pnlMem_->hide();
            pnlNewMember_->hide();
            pnlMemRing_->show();
            if (!ringNo.isEmpty())
                loadPigeon(ringNo);
        } else if (index == 1 && !ringNo.isEmpty()) {
            if (Dialogs::question(this, QStringLiteral("This will delete the data ?")) == QMessageBox::Yes) {
                deleteRing(dm_, selectedLoftNo(), ringNo);
                refreshRingList(QString());
            }
        }
    });
    rgMemRing_->clearChoice();
    rgMemRing_->hide();
}

// --- Per-country entry aids ---------------------------------------------------------------------

void TfrmMember::cbbCountryRingCodeChange()
{
    applyCountryEntryAid();
}

void TfrmMember::applyCountryEntryAid()
{
    if (!edtRegLetter_->isEnabled())
        return;  // a pigeon loaded for editing keeps its stored parts
    const bool wasLocked = edtRegLetter_->isReadOnly();
    countryAid_ = countryEntryAid(cbbCountryRingCode_->currentText());
    const bool lock = countryAid_.letters == CountryEntryAid::Letters::Dash;
    edtRegLetter_->setMaxLength(countryAid_.letterLength > 0 ? countryAid_.letterLength : 4);
    if (lock)
        edtRegLetter_->setText(QStringLiteral("-"));
    else if (wasLocked || !edtRegLetter_->hasAcceptableInput())
        edtRegLetter_->clear();
    edtRegLetter_->setReadOnly(lock);
    edtRegLetter_->setToolTip(countryAid_.hint);
    edtRegLetter_->setPlaceholderText(countryAid_.hint);
    const int numberLength = countryAid_.numberLength > 0 ? countryAid_.numberLength : 7;
    edtRegNum_->setMaxLength(numberLength);
    edtUpRegNum_->setMaxLength(numberLength);
}

void TfrmMember::edtRegLetterExit()
{
    if (!edtRegLetter_->isEnabled() || lettersAcceptedOnLeaving(countryAid_, edtRegLetter_->text()))
        return;
    Dialogs::information(this, QString::fromLatin1(RegistrationLetterError));
    edtRegLetter_->setFocus();
}
