#include "files/Cp1252.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(Cp1252, EveryByteRoundTripsAndUnencodableCharactersAreReported)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = decodeCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));  // euro sign
    EXPECT_EQ(text[0x81], QChar(0x0081));  // an unassigned byte keeps its value
    const Cp1252Encoding back = encodeCp1252(text);
    EXPECT_TRUE(back.ok());
    EXPECT_EQ(back.bytes, all);

    const QString foreign = QString::fromUtf8("Welle \u03a9 \u2603\u2603 \U0001F600 ok");
    const Cp1252Encoding enc = encodeCp1252(foreign);
    EXPECT_FALSE(enc.ok());
    EXPECT_EQ(enc.unencodable, QString::fromUtf8("\u03a9\u2603\U0001F600"));
    EXPECT_EQ(enc.bytes, QByteArray("Welle ? ?? ? ok"));
    EXPECT_TRUE(isCp1252Encodable(QString::fromUtf8("Fräsmaschine €\u00a0")));
}
