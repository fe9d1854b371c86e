#include "TfrmRace.h"

#include "PageTitle.h"

QPointer<TfrmRace> frmRace;

TfrmRace::TfrmRace(TdmZAVR& /*dm*/, const DataFolder& /*folder*/, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmRace"));
    addPageTitle(this, QStringLiteral("Races"))->addStretch(1);
}
