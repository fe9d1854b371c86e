#include "UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

UpDown::UpDown(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(this);
    up->setObjectName(QStringLiteral("btnUp"));
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(this);
    down->setObjectName(QStringLiteral("btnDown"));
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDown::setAssociate(QLineEdit* associate, int minimum, int maximum)
{
    associate_ = associate;
    minimum_ = minimum;
    maximum_ = maximum;
    for (QToolButton* b : findChildren<QToolButton*>())
        b->setFixedHeight(associate->sizeHint().height() / 2);
}

void UpDown::stepBy(int steps)
{
    if (!associate_)
        return;
    bool ok = false;
    const qlonglong current = associate_->text().trimmed().toLongLong(&ok);
    const qlonglong start = ok ? current : minimum_;
    associate_->setText(QString::number(std::clamp<qlonglong>(start + steps, minimum_, maximum_)));
}
