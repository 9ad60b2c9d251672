#include "cash/calculator.h"
#include "cash/change_calculator.h"
#include "cash/screens/change_calculator_screen.h"
#include "session/session.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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

TEST(ChangeCalculator, TheChangeIsTheCashLessTheTotalReadAsItIsShown) {
    struct Case {
        const char* total;
        const char* cash;
        const char* previous;
        const char* shown;
    } cases[] = {
        {"25,00", "30", "0", "5,00"},
        {"25,00", "20", "5,00", "5,00"},  // short of the total: the change stays
        {"25,00", "", "5,00", "0"},
        {"1.250,00", "2000", "0", "750,00"},  // the thousands separator is read
        {"1.250,00", "1250", "3,00", "0,00"},
        {"25,00", "25.5", "0", "0,50"},
        {"25,00", "30.", "0", "5,00"},
        {"25,00", ".", "7,00", "7,00"},
        {"1.234.567,89", "2000000", "0", "765.432,11"},
        {"0", "20", "0", "20,00"},
        {"", "20", "4,00", "4,00"},  // no last ticket shown: nothing to give change on
    };
    for (const Case& c : cases) {
        EXPECT_EQ(changeCaption(QString::fromLatin1(c.total), QString::fromLatin1(c.cash),
                                QString::fromLatin1(c.previous)),
                  QString::fromLatin1(c.shown))
            << c.total << " / " << c.cash;
    }
    // the cash field takes digits and one point
    EXPECT_TRUE(cashFieldAccepts(QString(), u'0'));
    EXPECT_TRUE(cashFieldAccepts(u"12"_s, u'9'));
    EXPECT_TRUE(cashFieldAccepts(u"12"_s, u'.'));
    EXPECT_FALSE(cashFieldAccepts(u"12.5"_s, u'.'));
    for (QChar c : u"a,-+ eE*"_s) EXPECT_FALSE(cashFieldAccepts(u"1"_s, c)) << int(c.unicode());
}

class ChangeCalculatorScreenTest : public ::testing::Test {
  protected:
    void open(const QString& lastTicket) {
        screen = std::make_unique<ChangeCalculatorScreen>(lastTicket, session);
        screen->show();
        QApplication::setActiveWindow(screen.get());
    }
    QLineEdit* cash() { return screen->findChild<QLineEdit*>(u"Text1"_s); }
    QString label(const char* name) {
        return screen->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

    Session session;
    std::unique_ptr<ChangeCalculatorScreen> screen;
};

TEST_F(ChangeCalculatorScreenTest, ShowsTheLastTicketAndTheChangeAsTheSellerTypes) {
    open(u"25,00"_s);
    EXPECT_EQ(screen->windowTitle(), u"Control de Efectivo"_s);
    EXPECT_EQ((QStringList{label("Label1"), label("Label2"), label("Label3"), label("Label4")}),
              (QStringList{u"Total Ticket"_s, u"25,00"_s, u"Efectivo"_s, u"Cambio:"_s}));
    EXPECT_EQ(screen->focusWidget(), cash());

    QTest::keyClicks(cash(), u"30"_s);
    EXPECT_EQ(label("Label5"), u"5,00"_s);
    QTest::keyClick(cash(), Qt::Key_Backspace);
    QTest::keyClick(cash(), Qt::Key_Backspace);
    EXPECT_EQ(label("Label5"), u"0"_s);  // cleared
    QTest::keyClicks(cash(), u"20"_s);
    EXPECT_EQ(label("Label5"), u"0"_s);  // short: kept as it was
    QTest::keyClicks(cash(), u"a,0.5.x"_s);
    EXPECT_EQ(cash()->text(), u"200.5"_s);
    EXPECT_EQ(label("Label5"), u"175,50"_s);
}

TEST_F(ChangeCalculatorScreenTest, EnterEscOrTheButtonClose) {
    for (int way = 0; way < 3; ++way) {
        open(u"25,00"_s);
        QTest::keyClicks(cash(), u"30"_s);
        if (way == 0) QTest::keyClick(cash(), Qt::Key_Return);
        if (way == 1) QTest::keyClick(cash(), Qt::Key_Escape);
        if (way == 2)
            QTest::mouseClick(screen->findChild<QPushButton*>(u"XPButton1"_s), Qt::LeftButton);
        EXPECT_FALSE(screen->isVisible()) << way;
    }
}

}  // namespace
