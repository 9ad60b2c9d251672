#include "session/money.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// What a seller types: its amount in ten-thousandths, or refused (-1).
TEST(Money, ParsesWhatASellerTypesAndRefusesWhatIsNoAmount) {
    const std::pair<const char*, qint64> cases[] = {{"10", 100000},
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
                                                    {"000000000000000001", 10000}};
    for (const auto& [typed, units] : cases) {
        auto m = Money::parse(QString::fromUtf8(typed));
        ASSERT_TRUE(m.ok()) << typed;
        EXPECT_EQ(m.value().units(), units) << typed;
    }
    for (const char* bad : {"", ".", "1.2.3", "1,2.3", "abc", "1e5", "12a", "0.00001",
                            "100000000000000", "--1", "1 000", "١٢"}) {
        EXPECT_FALSE(Money::parse(QString::fromUtf8(bad)).ok()) << bad;
    }
}

// The counter shows amounts rounded to cents, the server gets them with a decimal point.
TEST(Money, ShowsTheCountersFormatTravelsWithADecimalPointAndConverts) {
    const std::tuple<qint64, const char*, const char*> cases[] = {
        {12345000, "1.234,50", "1234.5"},
        {0, "0,00", "0"},
        {100, "0,01", "0.01"},
        {49, "0,00", "0.0049"},
        {50, "0,01", "0.005"},
        {10000000000, "1.000.000,00", "1000000"},
        {-12345000, "-1.234,50", "-1234.5"},
        {999999999, "100.000,00", "99999.9999"},
        {-5, "0,00", "-0.0005"}};
    for (const auto& [units, shown, plain] : cases) {
        EXPECT_EQ(Money::fromUnits(units).display(), QString::fromUtf8(shown)) << units;
        EXPECT_EQ(Money::fromUnits(units).plain(), QString::fromUtf8(plain)) << units;
    }
    EXPECT_EQ(Money::parseDisplay(u"1.234,50"_s).value(), Money::fromUnits(12345000));
    EXPECT_EQ(comaapunto(u"1,5,0"_s) + puntoacoma(u"0.01"_s), u"1.5.00,01"_s);
    // bolivares become bolivares fuertes exactly or not at all
    for (const auto& [bolivares, fuertes] :
         {std::pair{"10", "0.01"}, {"1", "0.001"}, {"2.5", "0.0025"}, {"1.23", ""}}) {
        auto converted = Money::parse(QString::fromUtf8(bolivares)).value().bolivaresToFuertes();
        EXPECT_EQ(converted ? converted.value().plain() : QString(), QString::fromUtf8(fuertes));
    }
}

}  // namespace
