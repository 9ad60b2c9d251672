#include "cash/calculator.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace vendura;

namespace {

// Keys as the calculator screen takes them: digits, "," ".", + - * /, "=", "C", "F" (Bs. to
// Bs.F.), "B" (Bs.F. to Bs.), "<" for Backspace.
QString run(const char* keys, QStringList* tape = nullptr) {
    static const std::map<char, std::function<void(Calculator&)>> others{
        {',', &Calculator::point},     {'.', &Calculator::point},
        {'=', &Calculator::equals},    {'C', &Calculator::clear},
        {'F', &Calculator::toFuertes}, {'B', &Calculator::toBolivares},
        {'<', &Calculator::backspace}};
    Calculator c;
    for (const char* k = keys; *k; ++k) {
        const QChar key = QChar::fromLatin1(*k);
        const qsizetype op = QStringLiteral("+-*/").indexOf(key);  // Add, Subtract, ...
        if (key.isDigit()) {
            c.digit(key);
        } else if (op >= 0) {
            c.operation(Calculator::Op(int(Calculator::Op::Add) + op));
        } else {
            others.at (*k)(c);
        }
    }
    if (tape) *tape = c.tape();
    return c.display();
}

TEST(Calculator, ExactDecimalsInTheOrderTypedAndBolivaresFuertes) {
    const std::pair<const char*, const char*> cases[] = {
        {"0.1+0.2=", "0,3"},              // no binary fraction error
        {"2+3*4=", "20"},                 // a desk calculator: in the order typed
        {"10/3=", "3,33333333"},          // eight decimals, rounded
        {"2/3=", "0,66666667"},           // half away from zero
        {"1234567,5+0,5=", "1.234.568"},  // thousands and decimals as the counter shows them
        {"5-8=", "-3"},
        {"5+-3=", "2"},  // a second sign replaces the first
        {"5+=", "10"},   // "=" without a second number repeats the first
        {"12,345<<=", "12,3"},
        {"7/0=", "No se puede dividir entre cero"},
        {"7/0=5+", "No se puede dividir entre cero"},  // until cleared
        {"7/0=C4+4=", "8"},
        {"99999999999*99999999999=", "Número demasiado grande"},  // ten digits each at most
        {"1,123456789=", "1,12345678"},                           // a ninth decimal is not taken
        {"", "0"},
        {"12345F", "12,345"},
        {"12,345B", "12.345"},
        {"10F", "0,01"},
        {"1500+2500F=", "1.502,5"},  // converts the second operand only
    };
    for (const auto& [keys, shown] : cases) EXPECT_EQ(run(keys), QString::fromUtf8(shown)) << keys;
    QStringList tape;
    run("2+3=F", &tape);
    EXPECT_EQ(tape, (QStringList{u"2 +"_s, u"3"_s, u"= 5"_s, u"5 Bs. → Bs.F."_s, u"= 0,005"_s}));
}

TEST(Decimal, ParsesWhatIsTypedAndRefusesTheRest) {
    EXPECT_EQ(Decimal::parse(u"1.5"_s).value(), Decimal::parse(u"1,50"_s).value());
    EXPECT_EQ(Decimal::parse(u"-2"_s).value().display(), u"-2"_s);
    for (const char* bad : {"", "-", "1,2,3", "abc", "1e5", "0,000000001", "100000000000"})
        EXPECT_FALSE(Decimal::parse(QString::fromLatin1(bad)).ok()) << bad;
}

}  // namespace
