// corvel-bench: the simulated ring reader and clocks from the shell.
#include "BenchCommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvel-club"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runBenchCommand(QCoreApplication::arguments(), out, err);
}
