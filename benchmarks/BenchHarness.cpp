#include "BenchHarness.h"

#include "CorvelError.h"
#include "Dialogs.h"
#include "TdmZAVR.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <sqlite3.h>

namespace Bench {
namespace {

// Timed runs of each step and floor: at least MinRuns, then more while the budget lasts.
constexpr int MinRuns = 5;
constexpr int MaxRuns = 11;
constexpr qint64 BudgetMsecs = 4000;

QString clubsFolder()
{
    const QString chosen = qEnvironmentVariable("CORVEL_BENCH_CLUBS");
    return chosen.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/clubs") : chosen;
}

QString sizeText(double size) { return QString::number(size, 'g', 4); }

QString clubFile(const QString& name) { return clubsFolder() + QLatin1Char('/') + name; }

QString clubFile(double size, const QString& kind)
{
    return clubFile(QStringLiteral("club-v%1-%2%3.db").arg(ClubGenerator::Version).arg(sizeText(size), kind));
}

// Makes `path` by `make` under a temporary name, renamed once complete, unless it exists.
void makeOnce(const QString& path, const std::function<void(const QString&)>& make)
{
    if (QFileInfo::exists(path))
        return;
    std::fprintf(stderr, "making %s\n", qPrintable(QDir::toNativeSeparators(path)));
    const QString temporary = path + QStringLiteral(".part");
    QFile::remove(temporary);
    make(temporary);
    if (!QFile::rename(temporary, path))
        throw CorvelError(QStringLiteral("Cannot rename %1 to %2").arg(temporary, path));
}

// Resident memory of this process, in MB: now, and its peak since the last resetPeak().
struct Memory {
    double residentMb = 0.0;
    double peakMb = 0.0;
};

Memory memory()
{
    Memory m;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return m;
    const auto megabytes = [](const QByteArray& line) {
        return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    };
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            m.residentMb = megabytes(line);
        else if (line.startsWith("VmHWM:"))
            m.peakMb = megabytes(line);
    }
    return m;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");  // resets the peak to the present resident size
}

struct Measurement {
    double stepMs = 0.0;
    double floorMs = 0.0;
    double firstMs = 0.0;
    double peakMb = 0.0;
    double startMb = 0.0;
    int runs = 0;
};

double timed(const Run& run)
{
    Clock clock;
    run(clock);
    const double ms = static_cast<double>(clock.nanoseconds()) / 1e6;
    settle();
    return ms;
}

Measurement measure(const Step& step, double size, bool quick)
{
    Club club(size);
    const Runs runs = step.prepare(club);
    settle();
    Measurement m;
    resetPeak();
    m.startMb = memory().residentMb;
    m.firstMs = timed(runs.step);
    m.peakMb = memory().peakMb;
    m.stepMs = m.floorMs = std::numeric_limits<double>::infinity();
    QElapsedTimer budget;
    budget.start();
    do {
        m.floorMs = std::min(m.floorMs, timed(runs.floor));
        m.stepMs = std::min(m.stepMs, timed(runs.step));
        ++m.runs;
    } while (!quick && m.runs < MaxRuns && (m.runs < MinRuns || budget.elapsed() < BudgetMsecs));
    return m;
}

// The offscreen platform's notes on what it cannot do are no news.
QtMessageHandler shownMessages = nullptr;

void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    if (shownMessages)
        shownMessages(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

int childMain(int argc, char** argv, const QList<Step>& steps)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    shownMessages = qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    Dialogs::setNonInteractive(true);
    const int index = QString::fromLocal8Bit(argv[2]).toInt();
    const double size = QString::fromLocal8Bit(argv[3]).toDouble();
    const bool quick = argc > 4 && qstrcmp(argv[4], "--quick") == 0;
    try {
        const Measurement m = measure(steps.at(index), size, quick);
        std::printf("RESULT\t%.3f\t%.3f\t%.3f\t%.1f\t%.1f\t%d\n", m.stepMs, m.floorMs, m.firstMs, m.peakMb, m.startMb, m.runs);
        return 0;
    } catch (const CorvelError& e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(steps.at(index).id), qPrintable(e.text()));
        return 1;
    }
}

QString milliseconds(double ms) { return QString::number(ms, 'f', ms < 10.0 ? 2 : 1) + QStringLiteral(" ms"); }

int parentMain(int argc, char** argv, const QList<Step>& steps)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QList<double> sizes = {0.25, 0.5, 1.0};
    QString resultsPath;
    bool quick = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--results") && i + 1 < args.size()) {
            resultsPath = args.at(++i);
        } else if (args.at(i) == QLatin1String("--sizes") && i + 1 < args.size()) {
            sizes.clear();
            for (const QString& s : args.at(++i).split(QLatin1Char(',')))
                sizes << s.toDouble();
        } else if (args.at(i) == QLatin1String("--quick")) {
            quick = true;
        } else {
            std::fprintf(stderr, "usage: %s [--sizes 0.25,0.5,1] [--quick] [--results FILE]\n", argv[0]);
            return 2;
        }
    }
    try {
        for (const double size : sizes)
            Club::prepareDatabases(size);
    } catch (const CorvelError& e) {
        std::fprintf(stderr, "Cannot make the benchmark clubs: %s\n", qPrintable(e.text()));
        return 1;
    }

    QFile results(resultsPath);
    QTextStream tsv(&results);
    if (!resultsPath.isEmpty()) {
        if (!results.open(QIODevice::Append | QIODevice::Text)) {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(resultsPath));
            return 1;
        }
        tsv << "meta\tqt\t" << qVersion() << "\nmeta\tsqlite\t" << sqlite3_libversion() << "\n";
    }
    // The children's runtime folder, where the session has none.
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("XDG_RUNTIME_DIR")))
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    std::printf("| Step | Floor | Size | Time | Floor time | Ratio | First run | Peak memory |\n"
                "|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);
    int failures = 0;
    for (int index = 0; index < steps.size(); ++index) {
        const Step& step = steps.at(index);
        for (const double size : sizes) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.setProcessEnvironment(environment);
            QStringList childArgs = {QStringLiteral("--child"), QString::number(index), sizeText(size)};
            if (quick)
                childArgs << QStringLiteral("--quick");
            child.start(QCoreApplication::applicationFilePath(), childArgs);
            child.waitForFinished(-1);
            QStringList fields;
            for (const QByteArray& line : child.readAllStandardOutput().split('\n'))
                if (line.startsWith("RESULT\t"))
                    fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
            if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || fields.size() != 7) {
                std::printf("| %s | %s | %s | failed | | | | |\n", qPrintable(step.name), qPrintable(step.floorName),
                            qPrintable(sizeText(size)));
                ++failures;
                continue;
            }
            Measurement m;
            m.stepMs = fields.at(1).toDouble();
            m.floorMs = fields.at(2).toDouble();
            m.firstMs = fields.at(3).toDouble();
            m.peakMb = fields.at(4).toDouble();
            m.startMb = fields.at(5).toDouble();
            m.runs = fields.at(6).toInt();
            const double ratio = m.floorMs > 0.0 ? m.stepMs / m.floorMs : 0.0;
            std::printf("| %s | %s | %s | %s | %s | %.2f | %s | %.0f MB (+%.0f) |\n", qPrintable(step.name),
                        qPrintable(step.floorName), qPrintable(sizeText(size)), qPrintable(milliseconds(m.stepMs)),
                        qPrintable(milliseconds(m.floorMs)), ratio, qPrintable(milliseconds(m.firstMs)), m.peakMb,
                        m.peakMb - m.startMb);
            std::fflush(stdout);
            if (!resultsPath.isEmpty()) {
                tsv << "row\t" << step.id << '\t' << step.name << '\t' << step.floorName << '\t' << sizeText(size) << '\t'
                    << QString::number(m.stepMs, 'f', 3) << '\t' << QString::number(m.floorMs, 'f', 3) << '\t'
                    << QString::number(ratio, 'f', 3) << '\t' << QString::number(m.firstMs, 'f', 3) << '\t'
                    << QString::number(m.peakMb, 'f', 1) << '\t' << QString::number(m.startMb, 'f', 1) << '\t' << m.runs
                    << '\t' << step.maxRatio << '\t' << (step.linear ? 1 : 0) << '\t' << step.maxMs << '\n';
                tsv.flush();
            }
        }
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

Club::Club(double size) : plan_(ClubGenerator::plan(size))
{
    if (!QFileInfo::exists(databasePath()))
        throw CorvelError(QStringLiteral("%1 is missing; run the benchmark program without --child").arg(databasePath()));
    if (!scratch_.isValid())
        throw CorvelError(QStringLiteral("Cannot make a temporary folder"));
}

Club::~Club() = default;

QString Club::databasePath() const { return clubFile(size(), QString()); }
QString Club::smallRaceDatabasePath() const { return clubFile(size(), QStringLiteral("-race10")); }
QString Club::emptyDatabasePath() const { return clubFile(QStringLiteral("empty-v%1.db").arg(ClubGenerator::Version)); }

TdmZAVR& Club::dm()
{
    if (!dm_) {
        dm_ = std::make_unique<TdmZAVR>(databasePath());
        if (!dm_->open())
            throw CorvelError(dm_->openError());
    }
    return *dm_;
}

std::unique_ptr<TdmZAVR> Club::openCopy(const QString& name) const
{
    const QString path = scratch(name);
    QFile::remove(path);
    if (!QFile::copy(databasePath(), path))
        throw CorvelError(QStringLiteral("Cannot copy %1 to %2").arg(databasePath(), path));
    auto copy = std::make_unique<TdmZAVR>(path);
    if (!copy->open())
        throw CorvelError(copy->openError());
    return copy;
}

DataFolder Club::dataFolder(const QString& database)
{
    const QString path = scratch(QStringLiteral("data%1").arg(++folders_));
    QDir().mkpath(path);
    QSaveFile udl(path + QStringLiteral("/ZAVR.udl"));
    const QByteArray text = "[oledb]\nProvider=SQLite;Data Source=" + QFile::encodeName(database) + "\n";
    if (!udl.open(QIODevice::WriteOnly) || udl.write(text) != text.size() || !udl.commit())
        throw CorvelError(QStringLiteral("Cannot write %1").arg(udl.fileName()));
    DataFolder folder(path);
    folder.prepare();
    return folder;
}

QString Club::scratch(const QString& name) const { return scratch_.filePath(name); }

void Club::prepareDatabases(double size)
{
    if (!QDir().mkpath(clubsFolder()))
        throw CorvelError(QStringLiteral("Cannot make %1").arg(clubsFolder()));
    const ClubGenerator::Plan plan = ClubGenerator::plan(size);
    const QString club = clubFile(size, QString());
    makeOnce(club, [size](const QString& path) { ClubGenerator::generate(path, size); });
    makeOnce(clubFile(size, QStringLiteral("-race10")), [&](const QString& path) {
        ClubGenerator::extractRace(club, path, plan.races.at(plan.smallRace));
    });
    makeOnce(clubFile(QStringLiteral("empty-v%1.db").arg(ClubGenerator::Version)), [](const QString& path) {
        TdmZAVR empty(path);
        if (!empty.open())
            throw CorvelError(empty.openError());
    });
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

int main(int argc, char** argv, const QList<Step>& steps)
{
    if (argc >= 4 && qstrcmp(argv[1], "--child") == 0)
        return childMain(argc, argv, steps);
    return parentMain(argc, argv, steps);
}

}  // namespace Bench
