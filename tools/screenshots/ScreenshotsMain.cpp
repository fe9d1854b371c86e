// Renders every page of the demo club, as a user first sees it, to PNG files:
//   corvel-screenshots OUTPUT_FOLDER
// Run with -platform offscreen (or QT_QPA_PLATFORM=offscreen) to need no display.

#include "CorvelApplication.h"
#include "DataFolder.h"
#include "DemoClub.h"
#include "Dialogs.h"
#include "StartUp.h"
#include "TfrmMenu.h"

#include <QComboBox>
#include <QDir>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

constexpr QSize WindowSize(1100, 720);

void fail(const QString& text) { std::fprintf(stderr, "corvel-screenshots: %s\n", qUtf8Printable(text)); }

// Lets the page lay itself out and fill its grids.
void settle() { QTest::qWait(300); }

bool save(TfrmMenu& menu, const QString& folder, const QString& name)
{
    settle();
    const QString file = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!menu.grab().save(file)) {
        fail(QStringLiteral("cannot write %1").arg(file));
        return false;
    }
    std::printf("%s\n", qUtf8Printable(file));
    return true;
}

template <typename T>
T* child(const QWidget* page, const char* name)
{
    T* w = page ? page->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (!w)
        fail(QStringLiteral("the page has no %1").arg(QString::fromLatin1(name)));
    return w;
}

// Opens the first row of a grid as a double click on it does.
void doubleClickFirstRow(QTableView* grid)
{
    settle();
    if (!grid || grid->model()->rowCount() == 0)
        return;
    const QModelIndex first = grid->model()->index(0, 0);
    grid->setCurrentIndex(first);
    emit grid->doubleClicked(first);
}

void clickFirstRow(QTableView* grid)
{
    settle();
    if (grid && grid->model()->rowCount() > 0)
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 0)).center());
}

// Chooses the item of a combo box as a user does; false when it has no such item.
bool choose(QComboBox* combo, const QString& text)
{
    const int index = combo ? combo->findText(text) : -1;
    if (index < 0) {
        fail(QStringLiteral("no item %1 to choose").arg(text));
        return false;
    }
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    CorvelApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        fail(QStringLiteral("usage: corvel-screenshots OUTPUT_FOLDER"));
        return 2;
    }
    const QString output = arguments.at(1);
    if (!QDir().mkpath(output)) {
        fail(QStringLiteral("cannot create %1").arg(output));
        return 1;
    }
    // Nothing modal: a message would stop the run.
    Dialogs::setNonInteractive(true);

    QTemporaryDir dir;
    const QString clubFolder = dir.filePath(QStringLiteral("demo"));
    if (const QString failure = DemoClub::create(clubFolder); !failure.isEmpty()) {
        fail(failure);
        return 1;
    }
    const DataFolder folder(clubFolder);
    StartUp::Club club = StartUp::openClub(folder);
    if (club.quit || !club.dm || !club.dm->isOpen()) {
        fail(QStringLiteral("the demo club did not open"));
        return 1;
    }

    bool ok = true;
    {
        TfrmMenu menu(*club.dm, folder);
        menu.resize(WindowSize);
        menu.show();
        QTest::qWait(TfrmMenu::BackupNoticeMsecs + 300);

        menu.showPage(TfrmMenu::HomePage);
        ok = save(menu, output, QStringLiteral("home")) && ok;

        menu.showPage(TfrmMenu::MemberPage);
        ok = save(menu, output, QStringLiteral("member-list")) && ok;
        // The first member's form with its pigeons.
        doubleClickFirstRow(child<QTableView>(menu.currentPage(), "dbgrdMem"));
        ok = save(menu, output, QStringLiteral("member")) && ok;

        menu.showPage(TfrmMenu::RacesPage);
        clickFirstRow(child<QTableView>(menu.currentPage(), "dbgrd1"));
        ok = save(menu, output, QStringLiteral("races")) && ok;
        doubleClickFirstRow(child<QTableView>(menu.currentPage(), "dbgrd1"));
        ok = save(menu, output, QStringLiteral("races-result")) && ok;

        // Marking for the open race, with a pigeon's ring on the reader.
        menu.showPage(TfrmMenu::ClockOperationPage);
        if (auto* tabs = child<QTabWidget>(menu.currentPage(), "PageControl1")) {
            tabs->setCurrentIndex(1);
            ok = choose(child<QComboBox>(menu.currentPage(), "cbbRaceCode"), QStringLiteral("2B  06/27")) && ok;
        }
        ok = save(menu, output, QStringLiteral("clock-operation")) && ok;

        menu.showPage(TfrmMenu::SetupPage);
        ok = save(menu, output, QStringLiteral("setup")) && ok;
        menu.CloseCurrentPage();
    }
    return ok ? 0 : 1;
}
