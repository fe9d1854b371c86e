#pragma once

#include "ClubGenerator.h"
#include "RaceLogic.h"

#include <QSqlQuery>
#include <QString>

class QWidget;
class TdmZAVR;

// What several benchmark programs share about one race.
namespace RaceSteps {

// The bare ranking statement of a race's result rows, run and positioned before its first row.
QSqlQuery bareResultQuery(const TdmZAVR& dm, const ClubGenerator::Race& race);

// Steps through every row of `query`, reading every value; returns the number of rows.
int readAll(QSqlQuery& query);

// The race as the race list of the Races page hands it to its views.
ListedRace listedRace(const ClubGenerator::Race& race);

// Paints the grid `gridName` of a view at once.
void paintGrid(const QWidget& view, const char* gridName);

// A view of the Races page (RaceStatusView, RaceResultView) on its own, shown at the size of
// the page.
template <class View>
struct ShownView {
    explicit ShownView(TdmZAVR& dm) : view(dm, &sortText)
    {
        view.resize(1000, 700);
        view.show();
    }
    QString sortText;
    View view;
};

// Opens a view of `race` as the race list's menu does, and paints its grid `gridName`.
template <class View>
void openView(ShownView<View>& shown, const ClubGenerator::Race& race, const char* gridName)
{
    shown.view.open(listedRace(race));
    paintGrid(shown.view, gridName);
}

}  // namespace RaceSteps
