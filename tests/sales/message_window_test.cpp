#include "sales_screen_fixture.h"

#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class MessageWindowTest : public SalesScreenFixture {
  protected:
    QStringList window() {
        QWidget* form21 = secondary("Form21");
        if (!form21) return {};
        QStringList lines;
        auto* list = form21->findChild<QListWidget*>(u"List1"_s);
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }
    void closeWindow() {
        if (QWidget* form21 = secondary("Form21"))
            QTest::keyClick(form21->focusWidget(), Qt::Key_Escape);
    }
};

TEST_F(MessageWindowTest, UnreadMessagesOpenTheWindowAtStartOnce) {
    db.postMessage(u"00012"_s, u"Mañana no hay sorteo de ALFA."_s);
    open();
    QTest::qWait(10);  // the window follows the screen once it is shown
    QWidget* form21 = secondary("Form21");
    ASSERT_TRUE(form21);
    EXPECT_EQ(form21->windowTitle(), u"Kalv Mensajes"_s);
    const QStringList lines = window();
    ASSERT_EQ(lines.size(), 6);  // sender, date, rule, "Mensaje:", one line of text, rule
    EXPECT_EQ(lines[0], u"Vendedor Envia : BANCA"_s);
    EXPECT_EQ(lines[1], u"Fecha: 07/12/2026 Hora: 10:00:00"_s);
    EXPECT_EQ(lines[4], u"Mañana no hay sorteo de ALFA."_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.mensajes WHERE leido IS NULL"_s), u"0"_s);
    closeWindow();
    EXPECT_FALSE(secondary("Form21"));

    seller.session.Permisos = u"F10"_s;
    press(Qt::Key_F10);
    EXPECT_FALSE(secondary("Form21"));
    EXPECT_EQ(seller.dialogs.last().text, u"No Hay Mensajes nuevos por leer..."_s);
    EXPECT_EQ(seller.dialogs.last().title, u"KALVORA ON LINE - PUNTO DE VENTA"_s);
}

TEST_F(MessageWindowTest, TheTimerLooksEveryFifthTickAndF10OnDemand) {
    open();
    QTest::qWait(10);
    EXPECT_FALSE(secondary("Form21"));
    auto* timer = screen->findChild<QTimer*>(u"Timer1"_s);
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->interval(), 60000);
    db.postMessage(u"*"_s, u"A todas las agencias"_s);
    for (int tick = 1; tick <= 4; ++tick) QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_FALSE(secondary("Form21"));
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(window().value(4), u"A todas las agencias"_s);
    EXPECT_EQ(screen->state().ticks, 0);
    closeWindow();

    db.postMessage(u"00012"_s, QString(131, u'z'));
    seller.session.Permisos.clear();
    control<QPushButton>("XPButton20")->click();
    EXPECT_EQ(seller.dialogs.last().text, u"Permiso de acceso denegado"_s);
    seller.session.Permisos = u"F10"_s;
    control<QPushButton>("XPButton20")->click();
    EXPECT_EQ(window().size(), 8);  // the text in lines of 65, 65 and 1
    EXPECT_EQ(window().value(6), u"z"_s);
}

}  // namespace
