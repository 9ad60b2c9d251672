#include "cash/change_calculator.h"
#include "cash/screens/change_calculator_screen.h"
#include "session/session.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

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
