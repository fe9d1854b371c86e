#pragma once

class QPainter;
class QRectF;

// The picture at the top right of the list reports: a homing pigeon in flight inside a ring.
// Painted as vector shapes, so it is sharp at any resolution; it keeps its proportions inside
// the given rectangle.
void paintClubEmblem(QPainter& painter, const QRectF& rect);
