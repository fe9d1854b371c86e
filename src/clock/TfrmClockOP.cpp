#include "TfrmClockOP.h"

#include "ClockOpState.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "PageTitle.h"
#include "PortScan.h"
#include "TfrmDeviceSimulator.h"
#include "ui_TfrmClockOP.h"

#include <QShortcut>
#include <QShowEvent>
#include <QTabBar>
#include <QThread>

QPointer<TfrmClockOP> frmClockOP;

TfrmClockOP::TfrmClockOP(TdmZAVR& dm, const DataFolder& folder, QWidget* parent)
    : QWidget(parent), dm_(dm), folder_(folder), context_{dm, folder_, clockOpState(), clockIdText, clockSiteText}, ui_(std::make_unique<Ui::TfrmClockOP>())
{
    setObjectName(QStringLiteral("frmClockOP"));
    QVBoxLayout* layout = addPageTitle(this, QStringLiteral("Clock Operation"));
    auto* body = new QWidget(this);
    ui_->setupUi(body);
    layout->addWidget(body, 1);
    for (int i = 0; i < ui_->PageControl1->count(); ++i)
        tab(i)->attach(context_);

    connect(ui_->PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (index != activePage_)
            PageControl1Change(index);
    });
    connect(ui_->PageControl1, &QTabWidget::tabBarClicked, this, &TfrmClockOP::tabBarClicked);
    auto* simulatorKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), this);
    simulatorKey->setObjectName(QStringLiteral("scDeviceSimulator"));
    connect(simulatorKey, &QShortcut::activated, this, &TfrmClockOP::showDeviceSimulator);
}

TfrmClockOP::~TfrmClockOP()
{
    // The page control reports the removal of its tabs while the widgets are destroyed.
    disconnect(ui_->PageControl1, nullptr, this, nullptr);
    for (int i = 0; i < ui_->PageControl1->count(); ++i)
        tab(i)->stopPollTimer();
    context_.state.releaseLink();
}

ClockOpTab* TfrmClockOP::tab(int index) const { return static_cast<ClockOpTab*>(ui_->PageControl1->widget(index)); }

void TfrmClockOP::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shownOnce_ && !event->spontaneous()) {
        shownOnce_ = true;
        FormShow();
    }
}

void TfrmClockOP::FormShow()
{
    // No tab is active: the page control shows no tab's controls until one is chosen.
    activePage_ = -1;
    if (QWidget* shown = ui_->PageControl1->currentWidget())
        shown->hide();
}

void TfrmClockOP::tabBarClicked(int index)
{
    // A click on the tab that the page control shows but that was never chosen (the first one
    // after opening) chooses it; the page control reports changes of its current tab itself.
    if (index >= 0 && index == ui_->PageControl1->currentIndex() && index != activePage_)
        PageControl1Change(index);
}

void TfrmClockOP::PageControl1Change(int index)
{
    ClockOpState& state = context_.state;
    state.releaseLink();
    for (int i = 0; i < ui_->PageControl1->count(); ++i)
        tab(i)->stopPollTimer();
    QThread::msleep(PortSettleMsecs);

    activePage_ = index;
    ClockOpTab* chosen = tab(index);
    chosen->show();
    bool opened = true;
    const bool linkMade = guarded(this, [&] {
        if (chosen->link() == ClockOpTab::Link::RingReader)
            opened = state.openReaderLink(folder_);
        else if (chosen->link() == ClockOpTab::Link::Clock)
            opened = state.openClockLink(folder_);
    });
    if (linkMade && !opened)
        Dialogs::information(this, QString::fromLatin1(ComPortNotActive));
    guarded(this, [chosen] { chosen->fillList(); });
}

void TfrmClockOP::showDeviceSimulator() { TfrmDeviceSimulator::showWindow(dm_, folder_, window()); }
