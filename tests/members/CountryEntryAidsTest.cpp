#include "CountryEntryAids.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using L = CountryEntryAid::Letters;

TEST(CountryEntryAids, EachCountryGetsItsLettersLengthsAndHint)
{
    const struct {
        const char* country;
        L letters;
        int letterLength;
        int numberLength;
        const char* hint;
    } cases[] = {
        {"BELG", L::Dash, 0, 7, "Field value : '-' "},
        {"NL", L::Dash, 0, 7, "Field value : '-' "},
        {"FR", L::Dash, 0, 6, "Field value : '-' "},
        {"IHU", L::NorthSouth, 1, 6, "Field value : 'N' Or 'S'"},
        {"GB", L::AToZ, 1, 5, "Field value : 'A' ~ 'Z'"},
        {"NWHU", L::AToZ, 1, 5, "Field value : 'A' ~ 'Z'"},
        {"WHU", L::AToZ, 1, 5, "Field value : 'A' ~ 'Z'"},
        {"SU", L::AToZOrDash, 1, 5, "Field value : 'A' ~ 'Z'"},
        {"NEHU", L::NehuCode, 4, 5, "Field value : AP,BOR... "},
        {"DV", L::Dash, 0, 5, "Field value : '-' "},
        {"AU", L::Free, 0, 0, ""},
        {"nl", L::Free, 0, 0, ""},  // exact codes only
        {"", L::Free, 0, 0, ""},
    };
    for (const auto& c : cases) {
        const CountryEntryAid aid = countryEntryAid(QString::fromLatin1(c.country));
        EXPECT_EQ(aid.letters, c.letters) << c.country;
        EXPECT_EQ(aid.letterLength, c.letterLength) << c.country;
        EXPECT_EQ(aid.numberLength, c.numberLength) << c.country;
        EXPECT_EQ(aid.hint, QString::fromLatin1(c.hint)) << c.country;
    }
}

TEST(CountryEntryAids, LetterKeys)
{
    const struct {
        const char* country;
        const char* allowed;
        const char* refused;
    } cases[] = {
        {"IHU", "NS", "AZ-1"},
        {"GB", "AMZ", "-1a "},
        {"SU", "AZ-", "1_"},
        {"NEHU", "ABZ", "-1"},
        {"NL", "-", "A1"},
        {"XX", "A-1 é", ""},
    };
    for (const auto& c : cases) {
        const CountryEntryAid aid = countryEntryAid(QString::fromLatin1(c.country));
        for (const QChar k : QString::fromUtf8(c.allowed))
            EXPECT_TRUE(letterKeyAllowed(aid, k)) << c.country << " " << QString(k).toStdString();
        for (const QChar k : QString::fromUtf8(c.refused))
            EXPECT_FALSE(letterKeyAllowed(aid, k)) << c.country << " " << QString(k).toStdString();
    }
}

TEST(CountryEntryAids, NehuLettersMustBeOneOfItsCodesOnLeaving)
{
    ASSERT_EQ(nehuCodes().size(), 39);
    const CountryEntryAid nehu = countryEntryAid(QStringLiteral("NEHU"));
    for (const char* ok : {"AP", "SHOT", "N", "Z", "TEE"})
        EXPECT_TRUE(lettersAcceptedOnLeaving(nehu, QString::fromLatin1(ok))) << ok;
    for (const char* bad : {"", "A", "SHO", "ap", "ZZ"})
        EXPECT_FALSE(lettersAcceptedOnLeaving(nehu, QString::fromLatin1(bad))) << bad;
    EXPECT_TRUE(lettersAcceptedOnLeaving(countryEntryAid(QStringLiteral("GB")), QString()));
}

}  // namespace
