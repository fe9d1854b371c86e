#include "TfrmMenu.h"

#include "DatabaseBackup.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "TdmZAVR.h"
#include "TfrmClockOP.h"
#include "TfrmHome.h"
#include "TfrmMember.h"
#include "TfrmRace.h"
#include "TfrmSetup.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

PageArea::PageArea(QWidget* parent) : QWidget(parent), background_(QStringLiteral(":/corvel/background.jpg"))
{
    setObjectName(QStringLiteral("pnlMain"));
}

void PageArea::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    if (background_.isNull())
        painter.fillRect(rect(), palette().window());
    else
        painter.drawPixmap(rect(), background_);
}

void PageArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A docked page always fills the area.
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setGeometry(0, 0, width(), height());
}

TfrmMenu::TfrmMenu(TdmZAVR& dm, const DataFolder& folder, QWidget* parent)
    : QMainWindow(parent), dm_(dm), folder_(folder), pnlMain_(new PageArea(this))
{
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(QStringLiteral("Corvel Club Management V6"));
    setWindowIcon(QIcon(QStringLiteral(":/corvel/corvel-club.svg")));

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, toolBar);
    addPageButton(QStringLiteral("ToolButton1"), QStringLiteral("&H Home"), QStringLiteral(":/corvel/toolbar/home.svg"), HomePage);
    addPageButton(QStringLiteral("ToolButton2"), QStringLiteral("&C Clock Operation"), QStringLiteral(":/corvel/toolbar/clock.svg"), ClockOperationPage);
    addPageButton(QStringLiteral("ToolButton3"), QStringLiteral("&M Member"), QStringLiteral(":/corvel/toolbar/member.svg"), MemberPage);
    addPageButton(QStringLiteral("ToolButton4"), QStringLiteral("&R Races"), QStringLiteral(":/corvel/toolbar/races.svg"), RacesPage);
    addPageButton(QStringLiteral("ToolButton5"), QStringLiteral("&S Setup"), QStringLiteral(":/corvel/toolbar/setup.svg"), SetupPage);

    setCentralWidget(pnlMain_);
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(bar);
    if (dm_.isReadOnly()) {
        auto* readOnly = new QLabel(QStringLiteral("Read-only: the club is open in another window"), bar);
        readOnly->setObjectName(QStringLiteral("lblReadOnly"));
        bar->addPermanentWidget(readOnly);
    }

    resize(1024, 720);
    QSettings settings(folder_.path() + QStringLiteral("/Window.ini"), QSettings::IniFormat);
    restoreGeometry(settings.value(QStringLiteral("Window/Geometry")).toByteArray());
}

TfrmMenu::~TfrmMenu()
{
    // Pages are destroyed before the window's own members.
    delete currentPage_.data();
}

QToolButton* TfrmMenu::addPageButton(const QString& name, const QString& caption, const QString& picture, Page page)
{
    QToolBar* toolBar = findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    QAction* action = toolBar->addAction(QIcon(picture), caption);
    action->setObjectName(name + QStringLiteral("Action"));
    // The button keeps the "&" of its caption: Alt and the letter press it.
    action->setIconText(caption);
    connect(action, &QAction::triggered, this, [this, page] { showPage(page); });
    auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(action));
    button->setObjectName(name);
    return button;
}

QWidget* TfrmMenu::createPage(Page page)
{
    switch (page) {
    case HomePage:
        return new TfrmHome(dm_, folder_, pnlMain_);
    case ClockOperationPage:
        return frmClockOP = new TfrmClockOP(dm_, folder_, pnlMain_);
    case MemberPage:
        return frmMember = new TfrmMember(dm_, folder_, pnlMain_);
    case RacesPage:
        return frmRace = new TfrmRace(dm_, folder_, pnlMain_);
    case SetupPage:
        return new TfrmSetup(dm_, folder_, pnlMain_);
    }
    return nullptr;
}

bool TfrmMenu::CloseCurrentPage()
{
    if (!currentPage_)
        return true;
    // A page refuses to close by ignoring the close event (after showing why).
    bool closed = false;
    guarded(this, [this, &closed] { closed = currentPage_->close(); });
    if (!closed) {
        currentPage_->show();
        return false;
    }
    delete currentPage_.data();
    currentPage_ = nullptr;
    return true;
}

void TfrmMenu::ShowCurrentPage()
{
    if (!currentPage_)
        return;
    // A docked page covers the background picture.
    currentPage_->setAutoFillBackground(true);
    currentPage_->setGeometry(0, 0, pnlMain_->width(), pnlMain_->height());
    currentPage_->show();
    currentPage_->setFocus();
}

bool TfrmMenu::showPage(Page page)
{
    if (!CloseCurrentPage())
        return false;
    guarded(this, [this, page] { currentPage_ = pageFactory_ ? pageFactory_(page, pnlMain_) : createPage(page); });
    ShowCurrentPage();
    return true;
}

void TfrmMenu::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    // The notice is modal: show it once the window is on screen.
    QTimer::singleShot(0, this, &TfrmMenu::FormShow);
}

void TfrmMenu::FormShow()
{
    if (startupBackupRan_)
        return;
    Dialogs::showSelfClosingNotice(this, QStringLiteral("Access DB Backup Now, Pls. Wait !"), BackupNoticeMsecs);
    QString failure;
    const DatabaseBackup::StartupOutcome outcome = DatabaseBackup::startupBackup(dm_, folder_, QDateTime::currentDateTime(), &failure);
    // A backup that failed or was held back is said where it stays in sight without stopping work.
    statusBar()->showMessage(DatabaseBackup::startupBackupStatus(outcome, failure));
    startupBackupRan_ = true;
}

void TfrmMenu::closeEvent(QCloseEvent* event)
{
    if (!CloseCurrentPage()) {
        event->ignore();
        return;
    }
    QSettings settings(folder_.path() + QStringLiteral("/Window.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Window/Geometry"), saveGeometry());
    event->accept();
}
