#pragma once

#include <QPointer>
#include <QWidget>

class DataFolder;
class TdmZAVR;

// The Races page. Its working panels come with their own features; until then it shows its title.
class TfrmRace : public QWidget {
    Q_OBJECT
public:
    TfrmRace(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
};

// The page while it exists (null once it is destroyed).
extern QPointer<TfrmRace> frmRace;
