#include "TfrmClockOP.h"

#include "PageTitle.h"

QPointer<TfrmClockOP> frmClockOP;

TfrmClockOP::TfrmClockOP(TdmZAVR& /*dm*/, const DataFolder& /*folder*/, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmClockOP"));
    addPageTitle(this, QStringLiteral("Clock Operation"))->addStretch(1);
}
