#include "ColourList.h"
#include "RingLogic.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

TEST(ColourList, AddedColourJoinsTheListInTableOrder)
{
    TestDatabase t;
    addColour(t.dm(), QStringLiteral("BLU"), QStringLiteral("Blue"));
    addColour(t.dm(), QStringLiteral("RC"), QStringLiteral("Red chequer"));
    EXPECT_EQ(colourNames(t.dm()), (QStringList{"Blue", "Red chequer"}));
    EXPECT_EQ(colourCode(t.dm(), QStringLiteral("Red chequer")), QStringLiteral("RC"));
}

TEST(ColourList, RefusedColoursWriteNothing)
{
    struct Case {
        const char* code;
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"BLU", "Light blue", "The color code BLU is already used by the color Blue."},
        {"", "Grey", "Enter both the color code and the color name."},
        {" ", "Grey", "Enter both the color code and the color name."},
        {"GRY", "", "Enter both the color code and the color name."},
        {"GRIZ", "A name longer than twenty", "The value of FeathColor is not accepted: at most 20 characters."},
        {"GRIZZ", "Grizzle", "The value of ColorType is not accepted: at most 4 characters."},
    };
    for (const Case& c : cases) {
        TestDatabase t;
        addColour(t.dm(), QStringLiteral("BLU"), QStringLiteral("Blue"));
        EXPECT_EQ(thrownText([&] { addColour(t.dm(), QString::fromUtf8(c.code), QString::fromUtf8(c.name)); }),
                  QString::fromUtf8(c.message));
        EXPECT_EQ(rows(t.dm(), QStringLiteral("select ColorType,FeathColor from ZAVR_FeatherColor")), QStringList{"BLU|Blue"});
    }
}

TEST(ColourList, DeleteRemovesEveryColourOfThatNameAndPigeonsKeepTheirCode)
{
    TestDatabase t;
    t.run(QStringLiteral("insert into ZAVR_FeatherColor values ('BLU','Blue'),('RC','Red'),('B2','Blue')"));
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,ColorType) values ('001','NL250001','BLU')"));
    EXPECT_EQ(deleteColour(t.dm(), QStringLiteral("Blue")), 2);
    EXPECT_EQ(colourNames(t.dm()), QStringList{"Red"});
    EXPECT_EQ(deleteColour(t.dm(), QStringLiteral("Other")), 0);
    EXPECT_EQ(t.dm().scalar(QStringLiteral("select ColorType from ZAVR_PigData")).toString(), QStringLiteral("BLU"));
}

}  // namespace
