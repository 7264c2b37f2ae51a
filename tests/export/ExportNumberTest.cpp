#include "export/ExportNumber.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>

using namespace quillon;

TEST(ExportNumber, FixedDecimalsWithAPointAndHalvesAwayFromZero)
{
    struct Case {
        float value;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {20.0f, 2, "20.00"},     {-2.5f, 2, "-2.50"},     {0.4f, 3, "0.400"},
        {100.0f, 0, "100"},      {0.5f, 0, "1"},          {-0.5f, 0, "-1"},
        {2.5f, 0, "3"},          {1.234f, 3, "1.234"},    {12.5f, 1, "12.5"},
        // Stored as 0.43449998 and -0.4345000x: written as computed.
        {0.4345f, 3, "0.435"},   {-0.4345f, 3, "-0.435"}, {0.0289f, 3, "0.029"},
        {9.9999f, 2, "10.00"},   {999.995f, 2, "1000.00"}, {0.0f, 2, "0.00"},
        {-0.001f, 2, "0.00"},    {-0.0f, 3, "0.000"},     {327.67f, 2, "327.67"},
        {0.0079f, 3, "0.008"},   {1e-9f, 2, "0.00"},      {12345678.0f, 2, "12345680.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(strExportNumber(c.value, c.decimals), QString::fromLatin1(c.expected))
            << c.value << " with " << c.decimals;
}

TEST(ExportNumber, LocaleDoesNotChangeTheSeparator)
{
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        std::setlocale(LC_NUMERIC, "C.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(strExportNumber(-14.5f, 2), "-14.50");
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, saved.c_str());
}
