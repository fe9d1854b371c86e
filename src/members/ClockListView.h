#pragma once

#include <QWidget>
#include <memory>

class QTableView;
class RowSetModel;

namespace Ui {
class ClockListView;
}

// The clock list of the selected member on the Member page (pnlClockList). Its rows, add-clock
// box and menu actions come with the loft clocks; the grid already shares the page's sort text.
class ClockListView : public QWidget {
    Q_OBJECT
public:
    // `sortText` is the page's sort text, shared by its grids.
    explicit ClockListView(QString* sortText, QWidget* parent = nullptr);
    ~ClockListView() override;

    RowSetModel* adoqClockList() const { return adoqClockList_; }
    QTableView* dbgrdClockList() const;

private:
    std::unique_ptr<Ui::ClockListView> ui_;
    RowSetModel* adoqClockList_;
};
