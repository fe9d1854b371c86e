#pragma once

#include "DataFolder.h"
#include "SimulatedBench.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class TdmZAVR;

// The simulated bench seen from the Device simulator window. Every change goes through the
// commands of corvel-bench, on bench.json of the data folder, so the window and the shell tool
// share one way of loading, changing and saving the bench; the program's pages see a change at
// their next device call. Refusals throw CorvelError with the tool's reason.
class BenchDesk {
public:
    BenchDesk(const TdmZAVR& dm, const DataFolder& folder);

    // Runs one corvel-bench command (its words, as typed after "corvel-bench") and returns what
    // it printed.
    QString run(const QStringList& words) const;
    // What is on the bench, as "corvel-bench show" prints it.
    QString describe() const { return run({QStringLiteral("show")}); }
    // The bench as it stands in bench.json. Throws CorvelError when the file is not valid.
    BenchState state() const;
    // A note when ZAVR.ini does not choose the simulated bench (the program then does not use it).
    QString libraryNote() const;

    void connectReader(int port) const;
    // Connects the clock of that number, putting it on the bench (accepting the SysID of
    // ZAVR.ini) when it is not there yet.
    void connectClock(int port, const QString& clockNo) const;
    void disconnect(int port) const;

    // A pigeon of the member, for the ring choice: its eRing when it has one (8 hexadecimal
    // digits of E_Ring and of UID).
    struct Pigeon {
        QString ringNo;
        QString eRing;
        QString uid;
        int randomCode = 0;
        bool hasERing() const;
    };
    QList<Pigeon> pigeonsOf(const QString& loftNo) const;
    // Lays the pigeon's ring on the reader: its own ring when it has an eRing (put on the bench
    // when missing), else a new genuine ring, ready to be matched to it. Returns the ring's UID.
    QString layPigeonRing(const QString& ringNo) const;
    // Lays a new ring that no pigeon has: genuine, or forged (its authenticity pages made under
    // another key). Returns its UID.
    QString layNewRing(bool genuine) const;
    void takeRing() const;

    // Clocks whose current race is started and not closed, by number.
    QStringList clocksInRace() const;
    // The pigeons a clock can clock in its current race: their eRing numbers, from the race's
    // pigeons and then the clock's pigeon list, each once.
    QStringList arrivalERings(const QString& clockNo) const;
    // The ring number of the pigeon with that eRing, empty when none.
    QString ringNoOfERing(const QString& eRing) const;
    // Adds an arrival at the true moment at to the clock's current race.
    void addArrival(const QString& clockNo, const QString& eRing, const QDateTime& at) const;

private:
    QString freshHex(const QStringList& taken) const;
    QString addRing(const QString& uid, const QString& eRing, int code, bool genuine) const;

    const TdmZAVR& dm_;
    DataFolder folder_;
};
