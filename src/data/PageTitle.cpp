#include "PageTitle.h"

#include <QFont>

PageTitle::PageTitle(QWidget* parent) : QLabel(parent)
{
    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    setFont(title);
    setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}
