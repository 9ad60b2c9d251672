#include "cash/calculator.h"
#include "app/cash_actions.h"
#include "cash/screens/calculator_screen.h"
#include "sales_screen_fixture.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// Keys as the calculator screen takes them: digits, "," ".", + - * /, "=", "C", "F" (Bs. to
// Bs.F.), "B" (Bs.F. to Bs.), "<" for Backspace.
QString run(const char* keys, QStringList* tape = nullptr) {
    Calculator c;
    for (const char* k = keys; *k; ++k) {
        const QChar key = QChar::fromLatin1(*k);
        if (key.isDigit()) {
            c.digit(key);
        } else if (key == u',' || key == u'.') {
            c.point();
        } else if (key == u'+') {
            c.operation(Calculator::Op::Add);
        } else if (key == u'-') {
            c.operation(Calculator::Op::Subtract);
        } else if (key == u'*') {
            c.operation(Calculator::Op::Multiply);
        } else if (key == u'/') {
            c.operation(Calculator::Op::Divide);
        } else if (key == u'=') {
            c.equals();
        } else if (key == u'C') {
            c.clear();
        } else if (key == u'F') {
            c.toFuertes();
        } else if (key == u'B') {
            c.toBolivares();
        } else if (key == u'<') {
            c.backspace();
        }
    }
    if (tape) *tape = c.tape();
    return c.display();
}

TEST(Calculator, ExactDecimalsInTheOrderTyped) {
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
    };
    for (const auto& [keys, shown] : cases) EXPECT_EQ(run(keys), QString::fromUtf8(shown)) << keys;
}

TEST(Calculator, ConvertsBetweenBolivaresAndBolivaresFuertes) {
    EXPECT_EQ(run("12345F"), u"12,345"_s);
    EXPECT_EQ(run("12,345B"), u"12.345"_s);
    EXPECT_EQ(run("10F"), u"0,01"_s);
    EXPECT_EQ(run("1500+2500F="), u"1.502,5"_s);  // converts the second operand only
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

// F5 on the sales screen opens the calculator through the registry the program fills; it works
// from the keyboard and Esc gives the keyboard back to the sales screen.
class CalculatorScreenTest : public SalesScreenFixture {};

TEST_F(CalculatorScreenTest, F5OpensItAndItIsWorkedFromTheKeyboard) {
    registerCashActions(actions);
    open();
    seller.session.Permisos = u"F5."_s;
    press(Qt::Key_F5);
    QWidget* calc = secondary("fCalculator");
    ASSERT_TRUE(calc);
    QTest::keyClicks(calc, u"1500+2500f"_s);
    QTest::keyClick(calc, Qt::Key_Return);
    EXPECT_EQ(calc->findChild<QLineEdit*>(u"Pantalla"_s)->text(), u"1.502,5"_s);
    EXPECT_EQ(calc->findChild<QListWidget*>(u"Cinta"_s)->count(), 5);
    QTest::keyClick(calc, Qt::Key_Delete);
    EXPECT_EQ(calc->findChild<QLineEdit*>(u"Pantalla"_s)->text(), u"0"_s);
    QTest::keyClick(calc, Qt::Key_Escape);
    QTest::qWait(20);
    EXPECT_FALSE(secondary("fCalculator"));
    EXPECT_EQ(QApplication::activeWindow(), screen.get());

    seller.session.Permisos.clear();
    press(Qt::Key_F5);
    EXPECT_FALSE(secondary("fCalculator"));
    EXPECT_EQ(seller.dialogs.last().text, u"Permiso de acceso denegado"_s);
}

}  // namespace
