#include "sales/messages.h"
#include "booking_fixture.h"
#include "screen_test.h"

#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class MessagesTest : public BookingFixture {
  protected:
    void SetUp() override {
        BookingFixture::SetUp();
        db.addVendor(u"00013"_s, u"2001"_s);
    }
    // "return | vendor sender read text | ..." of what a login reads of a vendor's messages.
    QString read(const QString& modo, const QString& vendor = u"00012"_s,
                 DatabaseGateway* login = nullptr) {
        return answerText(call(xleemensajes(vendor, modo), login),
                          {u"Vendedor"_s, u"Ven_envia"_s, u"Leido"_s, u"Mensajes"_s});
    }
};

TEST_F(MessagesTest, UnreadMessagesAreListedUntilMarkedAndOnlyTheCentralOfficePostsThem) {
    db.postMessage(u"00012"_s, u"primero"_s);
    db.postMessage(u"*"_s, u"para todos"_s);
    const QString both = u"0 | 00012 ***** 0 primero | 00012 ***** 0 para todos"_s;
    EXPECT_EQ(read(u"1"_s), both);
    EXPECT_EQ(read(u"1"_s), both);  // listed again until marked
    db.postMessage(u"00012"_s, u"llegó entre las dos llamadas"_s);
    EXPECT_EQ(read(u"2"_s), u"0"_s);
    EXPECT_EQ(read(u"1"_s), u"0 | 00012 ***** 0 llegó entre las dos llamadas"_s);
    EXPECT_EQ(db.auditActions().filter(u"MENSAJES_LEIDOS"_s),
              QStringList{u"MENSAJES_LEIDOS|00012|"_s});

    // the other sales point reads its own copy of the message for all, and nothing of this one's
    PqGateway other(5);
    ASSERT_TRUE(other.open(db.connectionText(u"00013"_s)).ok());
    EXPECT_EQ(read(u"1"_s, u"00013"_s, &other), u"0 | 00013 ***** 0 para todos"_s);
    EXPECT_EQ(read(u"1"_s, u"00012"_s, &other), u"1"_s);
    EXPECT_EQ(read(u"2"_s, u"00012"_s, &other), u"1"_s);
    EXPECT_EQ(read(u"1"_s), u"0 | 00012 ***** 0 llegó entre las dos llamadas"_s);
    EXPECT_EQ(read(u"3"_s), u"2"_s);

    // the central office refuses empty, oversized and misaddressed messages
    const QString before = db.checksum();
    for (const QString& sql : {u"SELECT admin.enviar_mensaje('00012', '')"_s,
                               u"SELECT admin.enviar_mensaje('00012', '   ')"_s,
                               u"SELECT admin.enviar_mensaje('00012', repeat('x', 10000))"_s,
                               u"SELECT admin.enviar_mensaje('99999', 'hola')"_s,
                               u"SELECT admin.enviar_mensaje('00012', 'hola', 'ZZZZZ')"_s}) {
        EXPECT_EQ(db.adminError(sql), u"22023"_s) << sql.toStdString();
    }
    EXPECT_EQ(db.checksum(), before);
    EXPECT_EQ(db.value(u"SELECT admin.enviar_mensaje('00012', repeat('y', 4000), '00013')"_s),
              u"1"_s);
    const QStringList lines =
        messageLines(gateway.call(xleemensajes(u"00012"_s, u"1"_s)).value().rows);
    EXPECT_EQ(lines.size(), 6 + 5 + 62);  // the one still unread, then 4,000 characters in 62 lines
    EXPECT_EQ(lines.value(6), u"Vendedor Envia : 00013"_s);
    // a sales point cannot post: the admin schema is out of its reach
    EXPECT_FALSE(gateway.exec(u"SELECT admin.enviar_mensaje('00012', 'x')"_s).ok());
}

class MessageWindowTest : public SalesScreenTest {
  protected:
    QStringList window() {
        QWidget* form21 = secondary("Form21");
        return form21 ? entries(form21->findChild<QListWidget*>(u"List1"_s)) : QStringList();
    }
};

TEST_F(MessageWindowTest, UnreadMessagesOpenTheWindowAtStartByTimerOrOnDemandOnce) {
    db.postMessage(u"00012"_s, u"Mañana no hay sorteo de ALFA."_s);
    open();
    QTest::qWait(10);  // the window follows the screen once it is shown
    ASSERT_TRUE(secondary("Form21"));
    EXPECT_EQ(secondary("Form21")->windowTitle(), u"Kalv Mensajes"_s);
    EXPECT_EQ(window(),
              (QStringList{u"Vendedor Envia : BANCA"_s, u"Fecha: 07/12/2026 Hora: 10:00:00"_s,
                           QString(100, u'*'), u"Mensaje:"_s, u"Mañana no hay sorteo de ALFA."_s,
                           QString(100, u'*')}));
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.mensajes WHERE leido IS NULL"_s), u"0"_s);
    QTest::keyClick(secondary("Form21")->focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(secondary("Form21"));

    seller.session.Permisos = u"F10"_s;
    press(Qt::Key_F10);
    EXPECT_FALSE(secondary("Form21"));
    EXPECT_EQ(seller.dialogs.last().title + u'|' + seller.dialogs.last().text,
              u"KALVORA ON LINE - PUNTO DE VENTA|No Hay Mensajes nuevos por leer..."_s);

    // the timer looks every fifth tick, the button on demand
    auto* timer = screen->findChild<QTimer*>(u"Timer1"_s);
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->interval(), 60000);
    db.postMessage(u"*"_s, u"A todas las agencias"_s);
    for (int tick = 1; tick <= 4; ++tick) QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_FALSE(secondary("Form21"));
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(window().value(4), u"A todas las agencias"_s);
    EXPECT_EQ(screen->state().ticks, 0);
    QTest::keyClick(secondary("Form21")->focusWidget(), Qt::Key_Escape);

    db.postMessage(u"00012"_s, QString(131, u'z'));
    control<QPushButton>("XPButton20")->click();
    EXPECT_EQ(window().mid(4, 3), (QStringList{QString(65, u'z'), QString(65, u'z'), u"z"_s}));
}

}  // namespace
