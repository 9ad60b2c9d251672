#include "session/money.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

TEST(Money, ParsesWhatASellerTypes) {
    struct Case {
        const char* typed;
        qint64 units;
    } cases[] = {
        {"10", 100000},
        {"10.5", 105000},
        {"10,5", 105000},
        {"0.01", 100},
        {".5", 5000},
        {"5.", 50000},
        {" 7 ", 70000},
        {"1234.5678", 12345678},
        {"0.00010", 1},
        {"-2.5", -25000},
        {"99999999999999", 999999999999990000},
        {"000000000000000001", 10000},
    };
    for (const Case& c : cases) {
        auto m = Money::parse(QString::fromUtf8(c.typed));
        ASSERT_TRUE(m.ok()) << c.typed;
        EXPECT_EQ(m.value().units(), c.units) << c.typed;
    }
}

TEST(Money, RefusesWhatIsNoAmount) {
    for (const char* bad : {"", ".", "1.2.3", "1,2.3", "abc", "1e5", "12a", "0.00001",
                            "100000000000000", "--1", "1 000", "١٢"}) {
        EXPECT_FALSE(Money::parse(QString::fromUtf8(bad)).ok()) << bad;
    }
}

TEST(Money, ShowsTheCountersFormat) {
    struct Case {
        qint64 units;
        const char* shown;
    } cases[] = {
        {12345000, "1.234,50"},
        {0, "0,00"},
        {100, "0,01"},
        {49, "0,00"},
        {50, "0,01"},
        {10000000000, "1.000.000,00"},
        {-12345000, "-1.234,50"},
        {999999999, "100.000,00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Money::fromUnits(c.units).display(), QString::fromUtf8(c.shown)) << c.units;
    }
    EXPECT_EQ(Money::parseDisplay(u"1.234,50"_s).value(), Money::fromUnits(12345000));
}

TEST(Money, TravelsToTheServerWithADecimalPoint) {
    EXPECT_EQ(Money::whole(10).plain(), u"10"_s);
    EXPECT_EQ(Money::fromUnits(100).plain(), u"0.01"_s);
    EXPECT_EQ(Money::fromUnits(12345000).plain(), u"1234.5"_s);
    EXPECT_EQ(Money::fromUnits(-5).plain(), u"-0.0005"_s);
}

TEST(Money, BolivaresBecomeBolivaresFuertesExactlyOrNotAtAll) {
    EXPECT_EQ(Money::whole(10).bolivaresToFuertes().value().plain(), u"0.01"_s);
    EXPECT_EQ(Money::whole(1).bolivaresToFuertes().value().plain(), u"0.001"_s);
    EXPECT_EQ(Money::parse(u"2.5"_s).value().bolivaresToFuertes().value().plain(), u"0.0025"_s);
    EXPECT_FALSE(Money::parse(u"1.23"_s).value().bolivaresToFuertes().ok());
}

TEST(Money, CommaAndPointSwap) {
    EXPECT_EQ(comaapunto(u"1,5,0"_s), u"1.5.0"_s);
    EXPECT_EQ(puntoacoma(u"0.01"_s), u"0,01"_s);
}

}  // namespace
