#include "TfrmSetup.h"

#include "PageTitle.h"

TfrmSetup::TfrmSetup(TdmZAVR& /*dm*/, const DataFolder& /*folder*/, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSetup"));
    addPageTitle(this, QStringLiteral("Setup"))->addStretch(1);
}
