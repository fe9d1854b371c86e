#include "MemberFormView.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "KeyFilter.h"
#include "MemberLogic.h"
#include "ui_MemberFormView.h"

MemberFormView::MemberFormView(TdmZAVR& dm, QWidget* parent)
    : QWidget(parent), dm_(dm), ui_(std::make_unique<Ui::MemberFormView>())
{
    ui_->setupUi(this);
    typeInCapitals(ui_->edtSeriesNo);
    typeInCapitals(ui_->edtUnionCode);
    setFocusProxy(ui_->edtName);
    connectGuarded(ui_->btnOK, &QPushButton::clicked, this, &MemberFormView::btnOKClick);
    connect(ui_->btnCancel, &QPushButton::clicked, this, &MemberFormView::btnCancelClicked);
}

MemberFormView::~MemberFormView() = default;

void MemberFormView::startNew(const QString& associationCode)
{
    for (QLineEdit* e : {ui_->edtName, ui_->edtPhone, ui_->edtPostCode, ui_->edtStreet, ui_->edtToneCity, ui_->edtSeriesNo,
                         ui_->medtLoftLon, ui_->medtLoftLat})
        e->clear();
    ui_->mmoNote->clear();
    ui_->edtUnionCode->setText(associationCode);
    ui_->edtSeriesNo->setEnabled(true);
}

bool MemberFormView::startEdit(const QString& loftNo)
{
    const std::optional<MemberInput> stored = loadMember(dm_, loftNo);
    if (!stored)
        return false;
    ui_->edtName->setText(stored->loftName);
    ui_->edtPhone->setText(stored->phoneNo);
    ui_->edtPostCode->setText(stored->postCode);
    ui_->edtStreet->setText(stored->street);
    ui_->edtToneCity->setText(stored->city);
    ui_->edtSeriesNo->setText(stored->loftNo);
    ui_->edtUnionCode->setText(stored->associationCode);
    ui_->mmoNote->setPlainText(stored->notes);
    ui_->medtLoftLon->setText(stored->loftLon);
    ui_->medtLoftLat->setText(stored->loftLat);
    ui_->edtSeriesNo->setEnabled(false);
    return true;
}

void MemberFormView::btnOKClick()
{
    MemberInput in;
    in.associationCode = ui_->edtUnionCode->text();
    in.loftNo = ui_->edtSeriesNo->text();
    in.loftName = ui_->edtName->text();
    in.street = ui_->edtStreet->text();
    in.city = ui_->edtToneCity->text();
    in.postCode = ui_->edtPostCode->text();
    in.phoneNo = ui_->edtPhone->text();
    // A masked coordinate keeps its literals, so a field never typed in stores them with blanks.
    in.loftLon = ui_->medtLoftLon->displayText();
    in.loftLat = ui_->medtLoftLat->displayText();
    in.notes = ui_->mmoNote->toPlainText();
    if (const QString error = memberInputError(in); !error.isEmpty()) {
        Dialogs::information(this, error);
        return;
    }
    saveMember(dm_, in, QDateTime::currentDateTime());
    emit saved(in.loftNo);
}
