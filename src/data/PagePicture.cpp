#include "PagePicture.h"

#include <QIcon>
#include <QPainter>

PagePicture::PagePicture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PagePicture::setSource(const QString& fileName)
{
    source_ = fileName;
    update();
}

void PagePicture::paintEvent(QPaintEvent* /*event*/)
{
    if (source_.isEmpty())
        return;
    QPainter painter(this);
    // Drawn afresh at the size shown, so it stays sharp.
    QIcon(source_).paint(&painter, contentsRect(), Qt::AlignHCenter | Qt::AlignTop);
}
