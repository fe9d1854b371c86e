#pragma once

#include <QColor>

class QPainter;
class QRectF;

// The emblem's dark blue, used for the letterhead's name and rules too.
inline const QColor EmblemNavy{0x1f, 0x3a, 0x5f};

// The picture at the top right of the list reports: a homing pigeon in flight inside a ring.
// Painted as vector shapes, so it is sharp at any resolution; it keeps its proportions inside
// the given rectangle.
void paintClubEmblem(QPainter& painter, const QRectF& rect);
