#include "model/NumberFormat.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(NumberFormat, FieldsAsTheColumnsNeedThemAndCleanRecoversTheBareValue)
{
    struct Case { const char* value; int width; bool sign; const char* field; } cases[] = {
        {"7", 3, false, " 07"},       {"105", 3, false, "105"},      {"-5", 6, true, "-   05"},
        {"1234", 6, true, "  1234"},  {"-19999", 6, true, "-19999"}, {"0", 3, false, " 00"},
        {"12.5", 3, false, " 12"},    {"13.5", 3, false, " 14"},     {"1.5.9", 3, false, " 02"},
        {"-32760", 7, true, "- 32760"}, {"abc", 4, false, "  00"},    {"", 5, true, "   00"},
        {"-0", 6, true, "    00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(strFormatNumber(QString::fromLatin1(c.value), c.width, c.sign), QString::fromLatin1(c.field)) << c.value << " " << c.width;
    EXPECT_THROW(strFormatNumber(QStringLiteral("40000"), 7, true), FormatError);
    EXPECT_THROW(strFormatNumber(QStringLiteral("12345"), 4, false), FormatError);
    EXPECT_NO_THROW(strFormatNumber(QStringLiteral("32767"), 5, false));

    const char* cleaned[][2] = {{" 00", "00"}, {"M06", "M06"}, {"I 123", "123"}, {"-   05", "-05"}, {"      ", ""},
                                {"K 5", "5"},  {"+5", "+5"},   {"", ""},         {"k 12", "12"}};
    for (const auto& c : cleaned)
        EXPECT_EQ(strClean(QString::fromLatin1(c[0])), QString::fromLatin1(c[1])) << c[0];
}
