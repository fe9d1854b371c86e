#pragma once

#include "ClubGenerator.h"

#include <QSqlQuery>

class QLabel;
class QTableView;
class RowSetModel;
class TdmZAVR;

// What several benchmark programs share about one race.
namespace RaceSteps {

// The bare ranking statement of a race's result rows, run and positioned before its first row.
QSqlQuery bareResultQuery(const TdmZAVR& dm, const ClubGenerator::Race& race);

// Steps through every row of `query`, reading every value; returns the number of rows.
int readAll(QSqlQuery& query);

// The Result view as the Races page fills it: the rows and their display, the grid sized to its
// contents and painted, and the summary line.
struct ResultView {
    ResultView();
    ~ResultView();
    RowSetModel* rows;
    QTableView* grid;
    QLabel* summary;
};
void openResultView(const TdmZAVR& dm, const ClubGenerator::Race& race, ResultView& view);

}  // namespace RaceSteps
