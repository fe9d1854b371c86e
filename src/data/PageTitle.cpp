#include "PageTitle.h"

#include <QFont>
#include <QLabel>
#include <QVBoxLayout>

QVBoxLayout* addPageTitle(QWidget* page, const QString& title, QLabel** titleLabel)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* label = new QLabel(title, page);
    label->setObjectName(QStringLiteral("lblTitle"));
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    layout->addWidget(label);
    if (titleLabel)
        *titleLabel = label;
    return layout;
}
