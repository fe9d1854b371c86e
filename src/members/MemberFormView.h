#pragma once

#include "FieldLimits.h"

#include <QWidget>
#include <memory>

class TdmZAVR;

namespace Ui {
class MemberFormView;
}

// The member form of the Member page (pnlNewMember): one member's details and loft, for a new
// member or an existing one.
class MemberFormView : public QWidget {
    Q_OBJECT
public:
    explicit MemberFormView(TdmZAVR& dm, QWidget* parent = nullptr);
    ~MemberFormView() override;

    // Empties the form for a new member of the club's association; the loft number can be typed.
    void startNew(const QString& associationCode);
    // Fills the form from the stored member; the loft number cannot change. False when no member
    // has that number (the form is then unchanged).
    bool startEdit(const QString& loftNo);

    // Handlers.
    void btnOKClick();

signals:
    // The member was stored.
    void saved(const QString& loftNo);
    // "Cancel": nothing is stored.
    void btnCancelClicked();

private:
    // False, after saying why and putting the focus in the field, when a typed coordinate is no
    // place on earth. Coordinates loaded and left as they are pass.
    bool coordinatesAccepted();

    TdmZAVR& dm_;
    std::unique_ptr<Ui::MemberFormView> ui_;
    ColumnFields columns_;  // the typed fields and their columns
    bool adding_ = false;   // a new member, not an edit
};
