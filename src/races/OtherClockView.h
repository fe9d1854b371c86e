#pragma once

#include "OtherClock.h"
#include "RaceLogic.h"

#include <QWidget>
#include <memory>
#include <optional>

class QModelIndex;
class RowSetModel;
class TdmZAVR;

namespace Ui {
class OtherClockView;
}

// The other-clock view of the Races page (pnlOtherClosk): a member's clock check times and the
// arrivals of its pigeons typed in by hand for the chosen race.
class OtherClockView : public QWidget {
    Q_OBJECT
public:
    // `sortText` is the page's sort text; `chosenLoftNo` the member chosen last, kept by the page
    // for the whole run of the program.
    OtherClockView(TdmZAVR& dm, QString* sortText, QString* chosenLoftNo, QWidget* parent = nullptr);
    ~OtherClockView() override;

    RowSetModel* adoqOtherClock() const { return adoqOtherClock_; }

    // Opens the view for the race; the member chosen last time stays chosen.
    void open(const ListedRace& race);

    // Handlers.
    void cbbLoftNo_OtherClockChange();
    void edtSearchExit();
    void cbbSelPigNoChange();
    void dbgrdOtherClockCellClick(const QModelIndex& index);
    void btnOtherClock_NewClick();
    void btnOtherClock_SaveClick();

private:
    void loadMember(const QString& loftNo);
    void fillRingChoice(const QString& ending);
    void showArrivalOf(const QString& ringNo);
    void reloadGrid();

    TdmZAVR& dm_;
    QString* chosenLoftNo_;
    std::unique_ptr<Ui::OtherClockView> ui_;
    RowSetModel* adoqOtherClock_;
    std::optional<OtherClock::Race> race_;  // the race the view was opened for
};
