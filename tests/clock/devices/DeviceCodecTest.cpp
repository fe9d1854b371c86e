#include "CorvelError.h"
#include "DeviceCodec.h"
#include "Moment.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const std::uint8_t* keyOf(const char* text) { return reinterpret_cast<const std::uint8_t*>(text); }

TEST(DeviceCodec, DesMatchesTheStandardTestVector)
{
    // The classic DES example: key 133457799BBCDFF1, plain 0123456789ABCDEF.
    const std::uint8_t key[8] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    const std::uint8_t plain[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    std::uint8_t cipher[8] = {};
    ASSERT_TRUE(DesEncrypt(cipher, plain, key));
    EXPECT_EQ(BytesToHex(std::span<const std::uint8_t>(cipher), 1, 8), QStringLiteral("85E813540F0AB405"));
    std::uint8_t back[8] = {};
    ASSERT_TRUE(DesDecrypt(cipher, back, key));  // input first, output second
    EXPECT_EQ(std::memcmp(back, plain, 8), 0);
}

TEST(DeviceCodec, DesUnderTheFixedKeyRoundTripsAText)
{
    std::uint8_t cipher[8] = {};
    ASSERT_TRUE(DesEncrypt(cipher, keyOf("1A2B3C4D"), keyOf(FixedDesKey)));
    EXPECT_NE(std::memcmp(cipher, "1A2B3C4D", 8), 0);
    std::uint8_t plain[9] = {};
    ASSERT_TRUE(DesDecrypt(cipher, plain, keyOf(FixedDesKey)));
    EXPECT_STREQ(reinterpret_cast<const char*>(plain), "1A2B3C4D");
}

TEST(DeviceCodec, AWeakKeyIsRefusedAndTheOutputLeftAlone)
{
    const std::uint8_t weak[8] = {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01};
    std::uint8_t out[8] = {7, 7, 7, 7, 7, 7, 7, 7};
    EXPECT_FALSE(DesEncrypt(out, keyOf("ABCDEFGH"), weak));
    EXPECT_FALSE(DesDecrypt(keyOf("ABCDEFGH"), out, weak));
    for (std::uint8_t b : out)
        EXPECT_EQ(b, 7);
}

struct HexCase {
    const char* text;
    int n;
    bool ok;
    const char* expectedHex;  // of the bytes written, when ok
};

class HexToBinCases : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexToBinCases, ConvertsExactlyTwoDigitsPerByteOrWritesNothing)
{
    const HexCase& c = GetParam();
    std::uint8_t out[10];
    std::memset(out, 0xEE, sizeof out);
    EXPECT_EQ(HexToBin(c.text, out, c.n), c.ok);
    EXPECT_EQ(HexToBin(QString::fromLatin1(c.text), out, c.n), c.ok);
    if (c.ok)
        EXPECT_EQ(BytesToHex(std::span<const std::uint8_t>(out), 1, c.n), QString::fromLatin1(c.expectedHex));
    else
        EXPECT_EQ(out[0], 0xEE);
    EXPECT_EQ(out[9], 0xEE);  // never past the n bytes asked for
}

INSTANTIATE_TEST_SUITE_P(Texts, HexToBinCases,
                         ::testing::Values(HexCase{"3031323334353637", 8, true, "3031323334353637"},
                                           HexCase{"0e08190d2d0a7b00", 8, true, "0E08190D2D0A7B00"},
                                           HexCase{"1A2B3C4D3C", 5, true, "1A2B3C4D3C"},
                                           HexCase{"", 0, true, ""},
                                           HexCase{"1A2B3C4D3", 5, false, ""},     // too short
                                           HexCase{"1A2B3C4D3C00", 5, false, ""},  // too long
                                           HexCase{"1A2B3C4G3C", 5, false, ""},    // not hexadecimal
                                           HexCase{"1A 2B3C4D3", 5, false, ""},
                                           HexCase{"1A2B", -1, false, ""}));

struct HexTextCase {
    const char* text;  // UTF-8
    int digits;
    bool hex;
};

class CodecHexText : public ::testing::TestWithParam<HexTextCase> {};

TEST_P(CodecHexText, TakesExactlyThatManyPlainHexadecimalDigits)
{
    EXPECT_EQ(isHexText(QString::fromUtf8(GetParam().text), GetParam().digits), GetParam().hex) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, CodecHexText,
                         ::testing::Values(HexTextCase{"0F", 2, true}, HexTextCase{"aB", 2, true},
                                           HexTextCase{"1A2B3C4D", 8, true}, HexTextCase{"", 0, true},
                                           HexTextCase{"+F", 2, false}, HexTextCase{"-1", 2, false},
                                           HexTextCase{" F", 2, false}, HexTextCase{"F ", 2, false},
                                           HexTextCase{"0x", 2, false}, HexTextCase{"F", 2, false},
                                           HexTextCase{"0F0", 2, false}, HexTextCase{"G0", 2, false},
                                           HexTextCase{"\u0661\u0661", 2, false},    // Arabic-Indic digits one
                                           HexTextCase{"\uFF21\uFF21", 2, false}));  // full-width A

TEST(DeviceCodec, HexToBinRefusesANullTextAndNonLatinDigits)
{
    std::uint8_t out[2] = {};
    EXPECT_FALSE(HexToBin(static_cast<const char*>(nullptr), out, 1));
    EXPECT_FALSE(HexToBin(QStringLiteral("1\u0661"), out, 1));  // an Arabic-Indic digit one
}

TEST(DeviceCodec, BytesToHexCountsPositionsFromOneAndRefusesARangeOutsideTheBuffer)
{
    const std::uint8_t bytes[5] = {0x1A, 0x2B, 0x3C, 0x4D, 0x05};
    EXPECT_EQ(BytesToHex(std::span<const std::uint8_t>(bytes), 1, 4), QStringLiteral("1A2B3C4D"));
    EXPECT_EQ(BytesToHex(std::span<const std::uint8_t>(bytes), 5, 1), QStringLiteral("05"));
    EXPECT_EQ(BytesToHex(std::span<const std::uint8_t>(bytes), 3, 0), QString());
    EXPECT_THROW(BytesToHex(std::span<const std::uint8_t>(bytes), 2, 5), CorvelError);
    EXPECT_THROW(BytesToHex(std::span<const std::uint8_t>(bytes), 0, 1), CorvelError);
    EXPECT_THROW(BytesToHex(std::span<const std::uint8_t>(bytes), 1, -1), CorvelError);
}

struct WordCase {
    const char* text;
    int value;
};

class HexTextToWordCases : public ::testing::TestWithParam<WordCase> {};

TEST_P(HexTextToWordCases, ReadsHexadecimalText)
{
    EXPECT_EQ(HexTextToWord(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, HexTextToWordCases,
                         ::testing::Values(WordCase{"3C", 60}, WordCase{"FF", 255}, WordCase{"0000", 0}, WordCase{"", 0},
                                           WordCase{"FFFF", 65535}, WordCase{"10000", 0},  // kept to 16 bits
                                           WordCase{"12345", 0x2345}, WordCase{"3c", 60}));

TEST(DeviceCodec, HexTextToWordRefusesNonHexadecimalText)
{
    for (const char* text : {"3G", " 3C", "-1", "0x3C"})
        EXPECT_THROW(HexTextToWord(QString::fromLatin1(text)), CorvelError) << text;
}

struct IdentityCase {
    const char* sysId;
    const char* expectedHex;
};

class SystemIdentityCases : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(SystemIdentityCases, TakesEightCharactersPaddedWithZeros)
{
    const DesBlock block = systemIdentityBlock(QString::fromLatin1(GetParam().sysId));
    EXPECT_EQ(BytesToHex(std::span<const std::uint8_t>(block), 1, 8), QString::fromLatin1(GetParam().expectedHex));
}

INSTANTIATE_TEST_SUITE_P(Identities, SystemIdentityCases,
                         ::testing::Values(IdentityCase{"", "3030303030303030"},
                                           IdentityCase{"ABCD", "4142434430303030"},
                                           IdentityCase{"ABCDEFGH", "4142434445464748"},
                                           IdentityCase{"ABCDEFGHIJKL", "4142434445464748"}));

TEST(DeviceCodec, TheIdentityCipherAndRaceAuthenticationAreDesUnderTheirKeys)
{
    const DesBlock sysId = systemIdentityBlock(QStringLiteral("CLUB"));
    const DesBlock cipher = systemIdentityCipher(sysId);
    std::uint8_t expected[8] = {};
    ASSERT_TRUE(DesEncrypt(expected, sysId.data(), keyOf("41930572")));
    EXPECT_EQ(std::memcmp(cipher.data(), expected, 8), 0);

    DesBlock auth{};
    ASSERT_TRUE(raceAuthBlock("12030500", cipher, auth));
    std::uint8_t plain[8] = {};
    ASSERT_TRUE(DesDecrypt(auth.data(), plain, cipher.data()));
    EXPECT_EQ(std::memcmp(plain, "12030500", 8), 0);
}

TEST(DeviceCodec, ClockDateTimesCountDaysFromTheEndOf1899ExactToTheMillisecond)
{
    EXPECT_EQ(ClockDateTime::toDays(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_EQ(ClockDateTime::toDays(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    const QDateTime moment = Formats::moment(QDate(2024, 5, 3), QTime(8, 0, 12, 345));
    EXPECT_EQ(ClockDateTime::fromDays(ClockDateTime::toDays(moment).value()), moment);
    EXPECT_EQ(ClockDateTime::fromDays(45000.0).date(), QDate(2023, 3, 15));
    EXPECT_FALSE(ClockDateTime::fromDays(std::numeric_limits<double>::quiet_NaN()).isValid());
}

struct DaysCase {
    const char* name;
    QDateTime moment;
    std::optional<double> days;
};

class ClockDateTimeDays : public ::testing::TestWithParam<DaysCase> {};

TEST_P(ClockDateTimeDays, AreGivenOnlyForValidDateTimesWithinTheRangeFromDaysReads)
{
    EXPECT_EQ(ClockDateTime::toDays(GetParam().moment), GetParam().days);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, ClockDateTimeDays,
    ::testing::Values(DaysCase{"Empty", QDateTime(), std::nullopt},
                      DaysCase{"InvalidDate", QDateTime(QDate(2024, 2, 30), QTime(12, 0)), std::nullopt},
                      DaysCase{"LastDay", ClockDateTime::fromDays(ClockDateTime::MaxDays), ClockDateTime::MaxDays},
                      DaysCase{"AMillisecondAfterTheLastDay", ClockDateTime::fromDays(ClockDateTime::MaxDays).addMSecs(1), std::nullopt},
                      DaysCase{"FirstDay", ClockDateTime::fromDays(-ClockDateTime::MaxDays), -ClockDateTime::MaxDays},
                      DaysCase{"TheDayBeforeTheFirst", ClockDateTime::fromDays(-ClockDateTime::MaxDays).addDays(-1), std::nullopt},
                      DaysCase{"FarBeyondWhatMillisecondsHold", QDateTime(QDate(1'000'000'000, 1, 1), QTime(0, 0)), std::nullopt}),
    [](const ::testing::TestParamInfo<DaysCase>& p) { return std::string(p.param.name); });

}  // namespace
