#pragma once

#include <QString>
#include <QStringList>

// Coordinates of lofts and liberation points are held as text: hemisphere letter, three digits of
// degrees, "'", two digits of minutes, ":", two digits of seconds and, for lofts, "." and two
// digits of hundredths ("E121'23:24.33", "N024'22:30.44"). "W" and "S" are negative.

// Reads one coordinate text into signed decimal degrees. Returns false (value 0) when the text is
// empty, is all zeros with its degrees written as "000" ("N000'00:00": left at zero, not given),
// or holds an invalid number; in the last case the
// message "Invalid character in <degrees|minutes|seconds> field in string <text>" is appended to
// `messages` (when given). Also reads spaced forms ("121 23 24 W"), a trailing hemisphere letter,
// a leading "-", the degree sign and the acute accent as separators.
bool ParseCoordinate(const QString& text, double& value, QStringList* messages = nullptr);

// Distance in kilometres between a loft and a point given in decimal degrees (an equirectangular
// approximation with fixed kilometre factors per degree).
double CoordDistanceKm(double loftLon, double loftLat, double pointLon, double pointLat);

// Distance in whole metres (truncated) between a loft and a point given as coordinate texts;
// 0 when the loft latitude is blank (begins with a space) or any coordinate cannot be read.
// Parser messages are appended to `messages`.
int LoftDistanceMetres(const QString& loftLon, const QString& loftLat, const QString& pointLon,
                       const QString& pointLat, QStringList* messages = nullptr);
