#include "FieldLimits.h"

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

TEST(FieldLimits, FieldsTakeTheirColumnsWidth)
{
    QLineEdit phone;
    QLineEdit name;
    limitToColumns({{&phone, QStringLiteral("ZAVR_LoftData"), QStringLiteral("PhoneNo"), QStringLiteral("Telephone Number")},
                    {&name, QStringLiteral("zavr_clubdata"), QStringLiteral("clubname"), QStringLiteral("Name")}});
    EXPECT_EQ(phone.maxLength(), 15);
    EXPECT_EQ(name.maxLength(), 50);
}

TEST(FieldLimits, ATextLongerThanItsColumnIsNamedByTheFieldsCaption)
{
    QLineEdit loftNo;
    loftNo.setMaxLength(12);
    const ColumnFields fields = {{&loftNo, QStringLiteral("ZAVR_LoftData"), QStringLiteral("LoftNo"), QStringLiteral("Loft Number")}};
    const QString bird = QString::fromUcs4(U"\U0001F426");  // one character, two UTF-16 units
    const struct {
        QString text;
        bool refused;
    } cases[] = {
        {QStringLiteral("1234567890"), false},
        {QStringLiteral("12345678901"), true},
        {bird.repeated(10), false},  // the database counts characters
        {bird.repeated(11), true},
        {QString(), false},
    };
    for (const auto& c : cases) {
        loftNo.setMaxLength(32767);
        loftNo.setText(c.text);
        EXPECT_EQ(columnLengthError(fields),
                  c.refused ? QStringLiteral("The value of Loft Number is not accepted: at most 10 characters.") : QString())
            << c.text.toStdString();
    }
}

TEST(FieldLimits, CaptionIsTheLabelWithoutItsColonAndAccelerator)
{
    const struct {
        const char* label;
        const char* caption;
    } cases[] = {{"Telephone Number:", "Telephone Number"}, {"Lontitude :", "Lontitude"}, {"&Name :", "Name"},
                 {"Town/City", "Town/City"}, {"Color Code : ", "Color Code"}};
    for (const auto& c : cases) {
        QLabel label(QString::fromLatin1(c.label));
        EXPECT_EQ(fieldCaption(&label), QString::fromLatin1(c.caption)) << c.label;
    }
}

TEST(FieldLimits, AStoredTextIsShownWholeAndTheLimitGrowsToIt)
{
    QLineEdit edit;
    edit.setMaxLength(4);
    setStoredText(&edit, QStringLiteral("ABCDEF"));
    EXPECT_EQ(edit.text(), QStringLiteral("ABCDEF"));
    EXPECT_EQ(edit.maxLength(), 6);
    setStoredText(&edit, QStringLiteral("AB"));
    EXPECT_EQ(edit.text(), QStringLiteral("AB"));
    EXPECT_EQ(edit.maxLength(), 6);
}

}  // namespace
