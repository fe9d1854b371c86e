#pragma once

#include "ClubGenerator.h"
#include "DataFolder.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class TdmZAVR;

// The shared harness of the benchmark programs. A program lists its steps; for each size of the
// generated club (1/4, 1/2 and 1) every step is run in a process of its own, so its peak memory is
// its own: once to measure the peak memory (and the time of a first run), then alternately with
// its floor, the same work done the plainest way, several times. The best times of the step and
// of its floor, their ratio and the peak memory make one row of the table.
//
// A new step is one more entry in a program's list:
//
//   {"member-list", "Member list (Member page shown)", "its bare query",
//    [](Bench::Club& club) -> Bench::Runs {
//        return {[&club](Bench::Clock&) { ...the step... }, [&club](Bench::Clock&) { ...the floor... }};
//    }},
namespace Bench {

// The timed part of one run: from the call until stop() or the return, whichever comes first.
class Clock {
public:
    Clock() { timer_.start(); }
    void stop()
    {
        if (nanoseconds_ < 0)
            nanoseconds_ = timer_.nsecsElapsed();
    }
    qint64 nanoseconds()
    {
        stop();
        return nanoseconds_;
    }

private:
    QElapsedTimer timer_;
    qint64 nanoseconds_ = -1;
};

using Run = std::function<void(Clock&)>;

struct Runs {
    Run step;
    Run floor;
};

// The generated club of one size, as the steps see it. Files the club's databases are never
// changed by a step.
class Club {
public:
    explicit Club(double size);
    ~Club();
    Club(const Club&) = delete;
    Club& operator=(const Club&) = delete;

    double size() const { return plan_.size; }
    const ClubGenerator::Plan& plan() const { return plan_; }
    const ClubGenerator::Race& largestRace() const { return plan_.races.at(plan_.largestRace); }
    const ClubGenerator::Race& smallRace() const { return plan_.races.at(plan_.smallRace); }

    QString databasePath() const;          // the generated club
    QString smallRaceDatabasePath() const;  // its 10-bird race alone, on an otherwise empty register
    QString emptyDatabasePath() const;      // a database of the program without rows

    // The generated club, opened once.
    TdmZAVR& dm();
    // A copy of the generated club in the scratch folder under `name`, opened: for steps that write.
    std::unique_ptr<TdmZAVR> openCopy(const QString& name) const;
    // A new data folder whose ZAVR.udl names `database`.
    DataFolder dataFolder(const QString& database);
    // A path in this run's temporary folder.
    QString scratch(const QString& name) const;

    // Makes the club's databases where they are missing (in the clubs folder beside the programs,
    // or $CORVEL_BENCH_CLUBS).
    static void prepareDatabases(double size);

private:
    ClubGenerator::Plan plan_;
    QTemporaryDir scratch_;
    std::unique_ptr<TdmZAVR> dm_;
    int folders_ = 0;
};

struct Step {
    QString id;         // short and stable: it names the step in RESULTS.md's comparisons
    QString name;       // what is measured
    QString floorName;  // what it is measured against
    std::function<Runs(Club&)> prepare;  // once per size, not timed
    double maxRatio = 0.0;               // target for the full size (0: none)
    bool linear = false;                 // target: the time grows no faster than the size
    double maxMs = 0.0;                  // target: the time at the full size, in ms (0: none)
};

// The program's main: runs every step at every size and prints the table; with --results FILE
// also appends the rows to FILE (tab-separated) for RESULTS.md. --sizes 0.25,1 and --quick (one
// timed run each) shorten a trial.
int main(int argc, char** argv, const QList<Step>& steps);

// Runs the event loop until nothing is pending (deferred deletes included).
void settle();

}  // namespace Bench
