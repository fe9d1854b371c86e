#include "MemberFormView.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "KeyFilter.h"
#include "MemberLogic.h"
#include "TdmZAVR.h"
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
    const auto row = dm_.locate(QStringLiteral("ZAVR_LoftData"), {QStringLiteral("LoftNo")}, {loftNo});
    if (!row)
        return false;
    const auto text = [&row](const char* field) { return row->value(QString::fromLatin1(field)).toString(); };
    ui_->edtName->setText(text("LoftName"));
    ui_->edtPhone->setText(text("PhoneNo"));
    ui_->edtPostCode->setText(text("PostCode"));
    ui_->edtStreet->setText(text("Street"));
    ui_->edtToneCity->setText(text("City"));
    ui_->edtSeriesNo->setText(text("LoftNo"));
    ui_->edtUnionCode->setText(text("AssociationCode"));
    ui_->mmoNote->setPlainText(text("Notes"));
    ui_->medtLoftLon->setText(text("LoftLon"));
    ui_->medtLoftLat->setText(text("LoftLat"));
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
