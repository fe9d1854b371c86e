#include "ClubEmblem.h"

#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <algorithm>

void paintClubEmblem(QPainter& painter, const QRectF& rect)
{
    const double side = std::min(rect.width(), rect.height());
    if (side <= 0.0)
        return;
    const QRectF box(rect.right() - side, rect.top(), side, side);
    // Shapes below are drawn on a 100 x 100 square.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(side / 100.0, side / 100.0);

    const QColor& navy = EmblemNavy;
    const QColor sky(0xdd, 0xe8, 0xf4);
    painter.setPen(QPen(navy, 4.0));
    painter.setBrush(sky);
    painter.drawEllipse(QRectF(3, 3, 94, 94));
    painter.setPen(QPen(navy, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(9, 9, 82, 82));

    // The pigeon, flying to the right with both wings raised.
    QPainterPath body;
    body.moveTo(18, 60);                  // tail tip, upper
    body.lineTo(34, 55);
    body.cubicTo(44, 50, 58, 50, 66, 52);  // back
    body.cubicTo(70, 46, 77, 44, 81, 48);  // neck and head
    body.lineTo(88, 50);                  // beak
    body.lineTo(81, 52);
    body.cubicTo(78, 60, 68, 66, 54, 67);  // breast
    body.cubicTo(46, 67, 40, 66, 34, 64);
    body.lineTo(18, 68);                  // tail tip, lower
    body.lineTo(24, 63);
    body.closeSubpath();

    QPainterPath farWing;
    farWing.moveTo(50, 53);
    farWing.cubicTo(52, 40, 60, 28, 74, 20);
    farWing.cubicTo(68, 32, 64, 42, 62, 52);
    farWing.closeSubpath();

    QPainterPath nearWing;
    nearWing.moveTo(42, 57);
    nearWing.cubicTo(38, 42, 30, 28, 16, 20);
    nearWing.cubicTo(30, 23, 44, 30, 50, 38);
    nearWing.cubicTo(54, 44, 58, 50, 58, 56);
    nearWing.closeSubpath();

    painter.setPen(QPen(navy, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0x9f, 0xb6, 0xcf));
    painter.drawPath(farWing);
    painter.setBrush(Qt::white);
    painter.drawPath(body);
    painter.drawPath(nearWing);
    // Wing feathers and the eye.
    painter.drawLine(QPointF(30, 29), QPointF(40, 44));
    painter.drawLine(QPointF(38, 30), QPointF(46, 45));
    painter.setBrush(navy);
    painter.drawEllipse(QPointF(78, 48.5), 1.4, 1.4);

    painter.restore();
}
