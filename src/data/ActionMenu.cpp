#include "ActionMenu.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QMouseEvent>
#include <QRadioButton>

ActionMenu::ActionMenu(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this))
{
    setAutoFillBackground(true);
    hide();
    connect(group_, &QButtonGroup::idClicked, this, &ActionMenu::choose);
}

void ActionMenu::collectItems()
{
    const QList<QRadioButton*> buttons = findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    for (int i = 0; i < buttons.size(); ++i)
        if (!group_->buttons().contains(buttons.at(i)))
            group_->addButton(buttons.at(i), i);
}

void ActionMenu::attachTo(QAbstractItemView* grid)
{
    collectItems();
    gridViewport_ = grid->viewport();
    gridViewport_->installEventFilter(this);
}

QList<QAbstractButton*> ActionMenu::items() const
{
    QList<QAbstractButton*> buttons;
    for (int i = 0; group_->button(i); ++i)
        buttons << group_->button(i);
    return buttons;
}

void ActionMenu::clearChoice()
{
    group_->setExclusive(false);
    for (QAbstractButton* b : group_->buttons())
        b->setChecked(false);
    group_->setExclusive(true);
}

void ActionMenu::popupAt(const QPoint& pointer)
{
    adjustSize();
    move(pointer + QPoint(30, 10));
    show();
    raise();
}

void ActionMenu::choose(int index)
{
    emit itemChosen(index);
    if (keepsChoice_)
        return;
    clearChoice();
    hide();
}

bool ActionMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == gridViewport_ && event->type() == QEvent::MouseButtonRelease) {
        hide();
        if (keepsChoice_)
            clearChoice();
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && parentWidget())
            popupAt(gridViewport_->mapTo(parentWidget(), mouse->position().toPoint()));
    }
    return QGroupBox::eventFilter(watched, event);
}
