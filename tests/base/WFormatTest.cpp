#include "base/WFormat.h"

#include <gtest/gtest.h>

TEST(WFormat, ConversionsFlagsAndArgumentCounts)
{
    struct Case {
        QString got;
        const char* want;
    } cases[] = {
        {WFormatV(QStringLiteral("RECV TCP %d bytes."), 52), "RECV TCP 52 bytes."},
        {WFormatV(QStringLiteral("%s: request %s success"), "DownloadHttpFile", QStringLiteral("x")),
         "DownloadHttpFile: request x success"},
        {WFormatV(QStringLiteral("like '%%%s%%'"), "10.0."), "like '%10.0.%'"},
        {WFormatV(QStringLiteral("%X %x %u"), 255, 255, -1), "FF ff 4294967295"},
        {WFormatV(QStringLiteral("%02d:%02d|%5s|%-3d|"), 7, 5, "ab", 4), "07:05|   ab|4  |"},
        {WFormatV(QStringLiteral("%d;"), -12), "-12;"},
        {WFormatV(QStringLiteral("no placeholders"), 1, "two"), "no placeholders"},
        {WFormatV(QStringLiteral("%s and %d"), "one"), "one and "},
        {WFormatV(QStringLiteral("%ld %lu %hd"), 3L, 4UL, 5), "3 4 5"},
        {WFormatV(QStringLiteral("tail %")), "tail %"},
        {WFormatV(QStringLiteral("%.3s"), "abcdef"), "abc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got.toStdString(), c.want);
}

TEST(WFormat, TextArgumentsAreNeverReinterpreted)
{
    // A value holding placeholders or quotes is copied as it is.
    EXPECT_EQ(WFormatV(QStringLiteral("[%s]"), QStringLiteral("%s %d %n '")).toStdString(),
              "[%s %d %n ']");
}
