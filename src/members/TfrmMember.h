#pragma once

#include <QPointer>
#include <QWidget>

class DataFolder;
class TdmZAVR;

// The Member page. Its working panels come with their own features; until then it shows its title.
class TfrmMember : public QWidget {
    Q_OBJECT
public:
    TfrmMember(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
};

// The page while it exists (null once it is destroyed).
extern QPointer<TfrmMember> frmMember;
