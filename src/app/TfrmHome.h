#pragma once

#include <QWidget>
#include <memory>

class DataFolder;
class RowSetModel;
class TdmZAVR;

namespace Ui {
class TfrmHome;
}

// The Home page: every clock of the club with its member's name and the date it was last
// programmed. Read-only; read again each time the page is shown.
class TfrmHome : public QWidget {
    Q_OBJECT
public:
    TfrmHome(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);
    ~TfrmHome() override;

    // The sort text of the grid, one for the whole run of the program.
    static QString& sortText();

    void FormShow();
    void DBGrid1TitleClick(int column);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TdmZAVR& dm_;
    std::unique_ptr<Ui::TfrmHome> ui_;
    RowSetModel* adoqDBGrid_;
};
