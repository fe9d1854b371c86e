#include "CoordinateEntry.h"

#include <gtest/gtest.h>

namespace {

struct EntryCase {
    const char* text;
    CoordinateAxis axis;
    const char* error;  // empty: accepted
};

TEST(CoordinateEntry, RefusesWhatIsNoPlaceOnEarthNamingTheField)
{
    constexpr auto Lon = CoordinateAxis::Longitude;
    constexpr auto Lat = CoordinateAxis::Latitude;
    const EntryCase cases[] = {
        {"E121'23:24", Lon, ""},
        {"E121'23:24.33", Lon, ""},
        {"N024'22:30.44", Lat, ""},
        {"W180'00:00", Lon, ""},           // the limits themselves
        {"S090'00:00.00", Lat, ""},
        {"E000'59:59.99", Lon, ""},
        {"E999'99:99", Lon, "Field \"E999'99:99\": the minutes must be below 60."},
        {"E181'00:00", Lon, "Field \"E181'00:00\": a longitude may not be over 180 degrees."},
        {"E180'00:01", Lon, "Field \"E180'00:01\": a longitude may not be over 180 degrees."},
        {"E180'00:00.01", Lon, "Field \"E180'00:00.01\": a longitude may not be over 180 degrees."},
        {"N099'00:00", Lat, "Field \"N099'00:00\": a latitude may not be over 90 degrees."},
        {"N090'00:00.01", Lat, "Field \"N090'00:00.01\": a latitude may not be over 90 degrees."},
        {"N091'00:00", Lon, ""},           // fine as a longitude
        {"N024'60:00", Lat, "Field \"N024'60:00\": the minutes must be below 60."},
        {"N024'22:60", Lat, "Field \"N024'22:60\": the seconds must be below 60."},
        {"N024'22:60.00", Lat, "Field \"N024'22:60.00\": the seconds must be below 60."},
        {"N024'59:59.99", Lat, ""},
        {"E999'  :  ", Lon, "Field \"E999'  :\": a longitude may not be over 180 degrees."},  // typed in part
        {"    '  :  ", Lon, ""},           // left blank
        {"    '  :  .  ", Lat, ""},
        {"E12 '23:24", Lon, ""},           // digits typed in part: the parser names them where used
        {"", Lon, ""},
        {"121 23 24 W", Lon, ""},          // not the mask's form: not checked here
    };
    for (const auto& c : cases)
        EXPECT_EQ(coordinateEntryError(QString::fromUtf8(c.text), c.axis, QStringLiteral("Field")).toStdString(),
                  std::string(c.error))
            << c.text;
}

}  // namespace
