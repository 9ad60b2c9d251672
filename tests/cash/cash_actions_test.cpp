#include "app/cash_actions.h"
#include "app/aftersale_actions.h"
#include "app/report_actions.h"
#include "cash/change_calculator.h"
#include "cash/screens/calculator_screen.h"
#include "sales_screen_fixture.h"

#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <functional>

using namespace vendura;
using namespace vendura::test;

namespace {

// The calculator (fCalculator, F5 on the sales screen) worked from the keyboard: digits, "," or
// ".", + - * /, "=" or Enter, "C" or Delete, "F" (Bs. to Bs.F.), "B" (Bs.F. to Bs.), Backspace.
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
        {"12,345\b\b=", "12,3"},
        {"7/0=", "No se puede dividir entre cero"},
        {"7/0=5+", "No se puede dividir entre cero"},  // until cleared
        {"7/0=c4+4\r", "8"},
        {"99999999999*99999999999=", "Número demasiado grande"},  // ten digits each at most
        {"1,123456789=", "1,12345678"},                           // a ninth decimal is not taken
        {"", "0"},
        {"12345f", "12,345"},
        {"12,345B", "12.345"},
        {"10F", "0,01"},
        {"1500+2500f=", "1.502,5"},  // converts the second operand only
    };
    for (const auto& [keys, shown] : cases) {
        CalculatorScreen calc(nullptr);
        QTest::keyClicks(&calc, QString::fromLatin1(keys));
        EXPECT_EQ(calc.findChild<QLineEdit*>(u"Pantalla"_s)->text(), QString::fromUtf8(shown))
            << keys;
    }
    CalculatorScreen calc(nullptr);
    QTest::keyClicks(&calc, u"2+3=F"_s);
    EXPECT_EQ(calc.calculator().tape(),
              (QStringList{u"2 +"_s, u"3"_s, u"= 5"_s, u"5 Bs. → Bs.F."_s, u"= 0,005"_s}));
    QTest::keyClick(&calc, Qt::Key_Delete);
    EXPECT_EQ(calc.findChild<QLineEdit*>(u"Pantalla"_s)->text(), u"0"_s);
}

TEST(ChangeCalculator, TheChangeIsTheCashLessTheTotalReadAsItIsShown) {
    // the last ticket's total as shown, the cash typed, the change shown before and after
    for (const auto& [total, cash, previous, shown] :
         std::initializer_list<std::array<const char*, 4>>{
             {"25,00", "30", "0", "5,00"},
             {"25,00", "20", "5,00", "5,00"},  // short of the total: the change stays
             {"25,00", "", "5,00", "0"},
             {"1.250,00", "2000", "0", "750,00"},  // the thousands separator is read
             {"25,00", "25.5", "0", "0,50"},
             {"25,00", ".", "7,00", "7,00"},
             {"1.234.567,89", "2000000", "0", "765.432,11"},
             {"0", "20", "0", "20,00"},
             {"", "20", "4,00", "4,00"},  // no last ticket shown: nothing to give change on
         }) {
        EXPECT_EQ(changeCaption(QString::fromLatin1(total), QString::fromLatin1(cash),
                                QString::fromLatin1(previous)),
                  QString::fromLatin1(shown))
            << total << " / " << cash;
    }
    // the cash field takes digits and one point
    EXPECT_TRUE(cashFieldAccepts(u"12"_s, u'.'));
    EXPECT_FALSE(cashFieldAccepts(u"12.5"_s, u'.'));
    for (QChar c : u"a,-+ eE*"_s) EXPECT_FALSE(cashFieldAccepts(u"1"_s, c)) << int(c.unicode());
}

// The sales screen with the cash actions registered as the program registers them.
class CashActionsTest : public SalesScreenFixture {
  protected:
    CashActionsTest() { registerCashActions(actions); }
    // Runs `inside` on the screen that the next key opens modally, then presses `closeKey` there.
    void whenOpened(std::function<void(QWidget&)> inside, Qt::Key closeKey = Qt::Key_Escape) {
        QTimer::singleShot(0, [this, inside = std::move(inside), closeKey] {
            QWidget* modal = QApplication::activeModalWidget();
            opened = modal ? modal->objectName() : QString();
            if (!modal) return;
            inside(*modal);
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, closeKey);
        });
    }
    QString opened;
};

// F3, "b" and XPButton10 open the cancellation, F4 the payment, F12 the results, F11 the
// lotteries' activation, F6 the parameters, F7 the utility menu, whose "b" opens the prize
// report, and F5 the calculator: each through the registry as the program fills it. The permissions
// are checked with the sales screen's keys and the menu's letters.
TEST_F(CashActionsTest, TheSalesScreensKeysOpenTheScreensRegisteredForThem) {
    open();
    registerAfterSaleActions(actions, *printers, clock, seller.dir.path());
    registerReportActions(actions, *printers, seller.programEnd, seller.dir.path());
    seller.session.Permisos = u"B.-F3.F4.F5.F6.F7.F11F12"_s;
    control<QListWidget>("L_Loterias")->setFocus();
    QStringList seen;
    std::function<void()> watch = [&] {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            seen << (modal ? modal->objectName() + u" "_s + modal->windowTitle() : u"-"_s);
            if (!modal) return;
            if (modal->objectName() == u"Form36"_s) {
                watch();
                QTest::keyClick(modal, Qt::Key_B);
            }
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Escape);
        });
    };
    for (int key : std::initializer_list<int>{Qt::Key_F3, Qt::Key_B, 0, Qt::Key_F4, Qt::Key_F12,
                                              Qt::Key_F11, Qt::Key_F6, Qt::Key_F7}) {
        watch();
        if (key)
            press(key);
        else
            control<QPushButton>("XPButton10")->click();
    }
    EXPECT_EQ(seen, QStringList(3, u"Form18 Anulación de Tickets"_s) +
                        QStringList({u"pagaticket Cancelación de Tickets"_s,
                                     u"Verpremiados Visualizador de premios"_s,
                                     u"activarloterias Activar Loterias"_s,
                                     u"maestroparametro Parámetros de 1001 ANA PEREZ"_s,
                                     u"Form36 Reportes/Utilidades"_s,
                                     u"ReporteTickets Reporte de Tickets"_s}));
    EXPECT_TRUE(seller.dialogs.shown.empty())
        << seller.dialogs.texts().join(u" | "_s).toStdString();

    // the calculator stays open beside the sales screen, and Esc gives the keyboard back
    press(Qt::Key_F5);
    ASSERT_TRUE(secondary("fCalculator"));
    QTest::keyClick(secondary("fCalculator"), Qt::Key_Escape);
    QTest::qWait(20);
    EXPECT_FALSE(secondary("fCalculator"));
    EXPECT_EQ(QApplication::activeWindow(), screen.get());
}

// The change calculator shows the ticket just saved and the change as the seller types, and
// Enter closes it.
TEST_F(CashActionsTest, ASavedTicketOpensTheChangeCalculatorOnlyWhenTheSessionAsksForIt) {
    open();
    selectLotteries({0});
    press(Qt::Key_F9);  // Bs.F. from here on
    sell(u"7"_s, u"10"_s);
    whenOpened([](QWidget&) {});
    press(Qt::Key_Escape);
    QTest::qWait(50);
    EXPECT_TRUE(opened.isEmpty());

    seller.session.ScreenVuelto = u"1"_s;
    sell(u"8"_s, u"25"_s);
    QStringList shown;
    whenOpened(
        [&](QWidget& w) {
            auto label = [&](const char* name) {
                return w.findChild<QLabel*>(QString::fromLatin1(name))->text();
            };
            shown << w.windowTitle() << label("Label1") << label("Label2") << label("Label3")
                  << label("Label4") << w.focusWidget()->objectName();
            QTest::keyClicks(w.focusWidget(), u"3a0"_s);
            shown << w.findChild<QLineEdit*>(u"Text1"_s)->text() << label("Label5");
        },
        Qt::Key_Return);
    press(Qt::Key_Escape);
    EXPECT_EQ(opened, u"controlefectivo"_s);
    EXPECT_EQ(shown, (QStringList{u"Control de Efectivo"_s, u"Total Ticket"_s, u"25,00"_s,
                                  u"Efectivo"_s, u"Cambio:"_s, u"Text1"_s, u"30"_s, u"5,00"_s}));
    EXPECT_EQ(label("MONTO_ULTICK"), u"25,00"_s);
    EXPECT_EQ(screen->ticket().rowCount(), 0);
}

}  // namespace
