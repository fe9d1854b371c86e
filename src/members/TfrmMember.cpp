#include "TfrmMember.h"

#include "PageTitle.h"

QPointer<TfrmMember> frmMember;

TfrmMember::TfrmMember(TdmZAVR& /*dm*/, const DataFolder& /*folder*/, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMember"));
    addPageTitle(this, QStringLiteral("Member"))->addStretch(1);
}
