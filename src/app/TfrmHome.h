#pragma once

#include <QWidget>

class DataFolder;
class QTableView;
class RowSetModel;
class TdmZAVR;

// The Home page: every clock of the club with its member's name and the date it was last
// programmed. Read-only.
class TfrmHome : public QWidget {
    Q_OBJECT
public:
    TfrmHome(TdmZAVR& dm, const DataFolder& folder, QWidget* parent = nullptr);

    // The sort text of the grid, one for the whole run of the program.
    static QString& sortText();

    void FormShow();
    void DBGrid1TitleClick(int column);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TdmZAVR& dm_;
    RowSetModel* adoqDBGrid_;
    QTableView* DBGrid1_;
};
