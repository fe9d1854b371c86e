#pragma once

#include <QPointer>
#include <QWidget>

class DataFolder;
class TdmZAVR;

// The Setup page. Its working panels come with their own features; until then it shows its title.
class TfrmSetup : public QWidget {
    Q_OBJECT
public:
    TfrmSetup(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
};
