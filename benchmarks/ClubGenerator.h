#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

// A generated club the size of a national one: at size 1, 3 clubs, 2,000 members with 2 clocks
// and 30 pigeons each, 25 liberation points with every loft's distance, and 100 races with
// 300,000 entries (the largest race 15,000 birds, about 85 % clocked; the last race 10 birds at
// every size). Members, pigeons, clocks and entries scale with the size; the clubs, points and
// races do not. The same size always gives the same rows (a fixed seed and no clock).
namespace ClubGenerator {

// Bumped whenever the rows a size gives change, so cached databases are made again.
inline constexpr int Version = 2;

// Every race is liberated at this time of its day.
inline const QTime LiberationTime(6, 30, 0);

struct Race {
    QString clubId;
    QString liberCode;
    QDate liberDate;
    QString liberSite;
    int entries = 0;
};

struct Plan {
    double size = 1.0;
    int members = 0;
    int pigeonsPerMember = 30;
    int clocksPerMember = 2;
    QList<Race> races;
    int largestRace = 0;  // index into races
    int smallRace = 0;    // the 10-bird race

    int pigeons() const { return members * pigeonsPerMember; }
};

Plan plan(double size);

// Writes the club of `size` into a new database file at `path` (which must not exist), with the
// program's own schema. Throws CorvelError.
void generate(const QString& path, double size);

// Writes a new database at `path` that holds one race of `source` with its entries, and only the
// pigeons and members of those entries: the same race on an otherwise empty register.
void extractRace(const QString& source, const QString& path, const Race& race);

}  // namespace ClubGenerator
