#include "PageTitle.h"

#include <QFont>
#include <QVBoxLayout>

PageTitle::PageTitle(QWidget* parent) : QLabel(parent)
{
    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    setFont(title);
    setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

QVBoxLayout* addPageTitle(QWidget* page, const QString& title, QLabel** titleLabel)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* label = new PageTitle(page);
    label->setObjectName(QStringLiteral("lblTitle"));
    label->setText(title);
    layout->addWidget(label);
    if (titleLabel)
        *titleLabel = label;
    return layout;
}
