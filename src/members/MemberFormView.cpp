#include "MemberFormView.h"

#include "CoordinateEntry.h"
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
    const QString table = QStringLiteral("ZAVR_LoftData");
    const auto field = [&table](QLineEdit* edit, const char* column, const QString& caption) {
        return ColumnField{edit, table, QString::fromLatin1(column), caption};
    };
    const ColumnFields typed = {field(ui_->edtName, "LoftName", fieldCaption(ui_->lblName)),
                                field(ui_->edtStreet, "Street", fieldCaption(ui_->lblStreet)),
                                field(ui_->edtToneCity, "City", fieldCaption(ui_->lblToneCity)),
                                field(ui_->edtPostCode, "PostCode", fieldCaption(ui_->lblPostCode)),
                                field(ui_->edtPhone, "PhoneNo", fieldCaption(ui_->lblPhone)),
                                field(ui_->edtUnionCode, "AssociationCode", QStringLiteral("Association"))};
    limitToColumns(typed);
    // The loft number keeps the form's limit of 12, beyond its column's 10: a longer number is
    // refused on "Save" by its caption.
    columns_ = typed;
    columns_.prepend(field(ui_->edtSeriesNo, "LoftNo", fieldCaption(ui_->lblSeriesNo)));
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
    setStoredText(ui_->edtUnionCode, associationCode);
    ui_->edtSeriesNo->setEnabled(true);
    adding_ = true;
}

bool MemberFormView::startEdit(const QString& loftNo)
{
    const std::optional<MemberInput> stored = loadMember(dm_, loftNo);
    if (!stored)
        return false;
    // A stored text is shown whole, even where it is longer than the field takes as typed.
    setStoredText(ui_->edtName, stored->loftName);
    setStoredText(ui_->edtPhone, stored->phoneNo);
    setStoredText(ui_->edtPostCode, stored->postCode);
    setStoredText(ui_->edtStreet, stored->street);
    setStoredText(ui_->edtToneCity, stored->city);
    setStoredText(ui_->edtSeriesNo, stored->loftNo);
    setStoredText(ui_->edtUnionCode, stored->associationCode);
    ui_->mmoNote->setPlainText(stored->notes);
    ui_->medtLoftLon->setText(stored->loftLon);
    ui_->medtLoftLat->setText(stored->loftLat);
    ui_->edtSeriesNo->setEnabled(false);
    adding_ = false;
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
    if (const QString error = columnLengthError(columns_); !error.isEmpty()) {
        Dialogs::information(this, error);
        return;
    }
    if (!coordinatesAccepted())
        return;
    // A new member under a loft number that is taken would replace that member's details.
    if (adding_) {
        if (const std::optional<QString> owner = existingMemberName(dm_, in.loftNo);
            owner && Dialogs::question(this, replaceMemberQuestion(in.loftNo, *owner)) != QMessageBox::Yes)
            return;
    }
    saveMember(dm_, in, QDateTime::currentDateTime());
    emit saved(in.loftNo);
}

bool MemberFormView::coordinatesAccepted()
{
    const struct {
        QLineEdit* edit;
        CoordinateAxis axis;
        QLabel* label;
    } fields[] = {{ui_->medtLoftLon, CoordinateAxis::Longitude, ui_->lblLoftLon},
                  {ui_->medtLoftLat, CoordinateAxis::Latitude, ui_->lblLoftLat}};
    for (const auto& f : fields) {
        if (!f.edit->isModified())
            continue;  // as stored: loaded and saved untouched
        const QString error = coordinateEntryError(f.edit->displayText(), f.axis, fieldCaption(f.label));
        if (!error.isEmpty()) {
            Dialogs::information(this, error);
            f.edit->setFocus();
            return false;
        }
    }
    return true;
}
