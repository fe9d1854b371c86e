#pragma once

#include <QStringList>

class QTextStream;

// corvel-bench: shows and changes the simulated bench in bench.json of the data folder
// (--data-dir DIR, else $CORVEL_DATA_DIR, else the user's data folder). arguments are the
// program's arguments, the program name first. Returns the exit code: 0 done, 1 refused (the
// reason on err, nothing changed), 2 not understood (the usage on err).
int runBenchCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
