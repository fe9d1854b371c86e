#pragma once

#include <QString>

// A coordinate typed into a form's coordinate mask: hemisphere letter, three digits of degrees,
// "'", two digits of minutes, ":", two digits of seconds and, for lofts, "." and two digits of
// hundredths ("E121'23:24.33", "N024'22:30").
enum class CoordinateAxis { Longitude, Latitude };

// The message refusing a typed coordinate that is no place on earth, naming the field: a
// longitude over 180 degrees, a latitude over 90, minutes or seconds of 60 or more. Empty when the
// coordinate may be stored, also for a field left blank and for digits typed only in part (the
// coordinate parser names those where the coordinate is used). Stored coordinates are not
// checked: they load and show as they are.
QString coordinateEntryError(const QString& text, CoordinateAxis axis, const QString& fieldName);
