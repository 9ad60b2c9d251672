#include "app/cash_actions.h"
#include "sales_screen_fixture.h"

#include <QTimer>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// The sales screen with the cash actions registered as the program registers them.
class CashActionsTest : public SalesScreenFixture {
  protected:
    CashActionsTest() {
        registerCashActions(actions);
        db.admin(
            u"UPDATE central.usuarios SET permisos = 'F5.F6.F11' WHERE cod_usuario = '1001'"_s);
    }
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

TEST_F(CashActionsTest, F11F6AndF5OpenTheirScreensOverTheSalesScreen) {
    open();
    QString shown;
    whenOpened([&](QWidget& w) { shown = w.findChild<QListWidget*>(u"List1"_s)->item(1)->text(); });
    press(Qt::Key_F11);
    EXPECT_EQ(opened, u"activarloterias"_s);
    EXPECT_EQ(shown, u"BBB BETA"_s);
    whenOpened([&](QWidget& w) { shown = w.windowTitle(); });
    press(Qt::Key_F6);
    EXPECT_EQ(opened, u"maestroparametro"_s);
    EXPECT_EQ(shown, u"Parámetros de 1001 ANA PEREZ"_s);
    EXPECT_TRUE(seller.dialogs.shown.empty());

    // the calculator stays open beside the sales screen, is worked from the keyboard, and Esc
    // gives the keyboard back
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
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Permiso de acceso denegado"_s});
}

TEST_F(CashActionsTest, ASavedTicketOpensTheChangeCalculatorOnlyWhenTheSessionAsksForIt) {
    open();
    selectLotteries({0});
    press(Qt::Key_F9);  // Bs.F. from here on
    sell(u"7"_s, u"10"_s);
    whenOpened([](QWidget&) {});
    press(Qt::Key_Escape);
    QTest::qWait(50);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(label("MONTO_ULTICK"), u"10,00"_s);

    seller.session.ScreenVuelto = u"1"_s;
    selectLotteries({0, 1});
    sell(u"8"_s, u"300"_s);  // within the terminales' quota of 300 on each lottery
    sell(u"9"_s, u"300"_s);
    sell(u"6"_s, u"25"_s);
    ASSERT_TRUE(seller.dialogs.shown.empty())
        << seller.dialogs.texts().join(u" | "_s).toStdString();
    QString total;
    QString change;
    whenOpened(
        [&](QWidget& w) {
            total = w.findChild<QLabel*>(u"Label2"_s)->text();
            QTest::keyClicks(w.findChild<QLineEdit*>(u"Text1"_s), u"2000"_s);
            change = w.findChild<QLabel*>(u"Label5"_s)->text();
        },
        Qt::Key_Return);
    press(Qt::Key_Escape);
    EXPECT_EQ(opened, u"controlefectivo"_s);
    EXPECT_EQ(total, u"1.250,00"_s);
    EXPECT_EQ(total, label("MONTO_ULTICK"));
    EXPECT_EQ(change, u"750,00"_s);
    EXPECT_EQ(screen->ticket().rowCount(), 0);
}

}  // namespace
