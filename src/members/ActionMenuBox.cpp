#include "ActionMenuBox.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

ActionMenuBox::ActionMenuBox(const QString& objectName, const QStringList& items, QWidget* parent)
    : QGroupBox(parent), group_(new QButtonGroup(this))
{
    setObjectName(objectName);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), this);
        group_->addButton(button, i);
        layout->addWidget(button);
    }
    connect(group_, &QButtonGroup::idClicked, this, &ActionMenuBox::itemChosen);
    adjustSize();
    hide();
}

void ActionMenuBox::clearChoice()
{
    group_->setExclusive(false);
    for (QAbstractButton* b : group_->buttons())
        b->setChecked(false);
    group_->setExclusive(true);
}

void ActionMenuBox::popupAt(const QPoint& pointer)
{
    move(pointer + QPoint(30, 10));
    show();
    raise();
}
