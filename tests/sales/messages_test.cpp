#include "sales/messages.h"
#include "logged_in.h"
#include "platform/pq_gateway.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class MessagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        ASSERT_TRUE(gateway.open(db.connectionText()).ok());
    }
    CallAnswer read(const QString& modo, const QString& vendor = u"00012"_s) {
        auto a = gateway.call(xleemensajes(vendor, modo));
        EXPECT_TRUE(a.ok());
        return a.ok() ? a.value() : CallAnswer{};
    }

    TestDatabase db;
    PqGateway gateway{5};
};

TEST_F(MessagesTest, UnreadMessagesAreListedUntilMarkedAndOnlyTheDeliveredOnesAreMarked) {
    db.postMessage(u"00012"_s, u"primero"_s);
    db.postMessage(u"*"_s, u"para todos"_s);
    const CallAnswer first = read(u"1"_s);
    EXPECT_EQ(first.returnNumber(), 0);
    ASSERT_EQ(first.rows.size(), 2);
    EXPECT_EQ(first.rows.text(0, u"Mensajes"_s), u"primero"_s);
    EXPECT_EQ(first.rows.text(0, u"Ven_envia"_s), u"*****"_s);
    EXPECT_EQ(first.rows.text(0, u"Vendedor"_s), u"00012"_s);
    EXPECT_EQ(first.rows.text(0, u"Leido"_s), u"0"_s);
    EXPECT_EQ(first.rows.text(1, u"Mensajes"_s), u"para todos"_s);
    EXPECT_EQ(read(u"1"_s).rows.size(), 2);  // listed again until marked

    db.postMessage(u"00012"_s, u"llegó entre las dos llamadas"_s);
    EXPECT_EQ(read(u"2"_s).returnNumber(), 0);
    const CallAnswer later = read(u"1"_s);
    ASSERT_EQ(later.rows.size(), 1);
    EXPECT_EQ(later.rows.text(0, u"Mensajes"_s), u"llegó entre las dos llamadas"_s);
    EXPECT_EQ(db.auditActions().filter(u"MENSAJES_LEIDOS"_s),
              QStringList{u"MENSAJES_LEIDOS|00012|"_s});

    // the other sales point reads its own copy of the message for all
    PqGateway other(5);
    ASSERT_TRUE(other.open(db.connectionText(u"00013"_s)).ok());
    const CallAnswer theirs = other.call(xleemensajes(u"00013"_s, u"1"_s)).value();
    ASSERT_EQ(theirs.rows.size(), 1);
    EXPECT_EQ(theirs.rows.text(0, u"Mensajes"_s), u"para todos"_s);
    // and cannot read or mark this one's
    EXPECT_EQ(other.call(xleemensajes(u"00012"_s, u"1"_s)).value().returnNumber(), 1);
    EXPECT_EQ(other.call(xleemensajes(u"00012"_s, u"2"_s)).value().returnNumber(), 1);
    EXPECT_EQ(read(u"1"_s).rows.size(), 1);
    EXPECT_EQ(read(u"3"_s).returnNumber(), 2);
}

TEST_F(MessagesTest, TheCentralOfficeRefusesEmptyOversizedAndMisaddressedMessages) {
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
    const CallAnswer a = read(u"1"_s);
    ASSERT_EQ(a.rows.size(), 1);
    EXPECT_EQ(a.rows.text(0, u"Ven_envia"_s), u"00013"_s);
    EXPECT_EQ(messageLines(a.rows).size(), 5 + 62);  // 4,000 characters in lines of 65
    // a sales point cannot post: the admin schema is out of its reach
    EXPECT_FALSE(gateway.exec(u"SELECT admin.enviar_mensaje('00012', 'x')"_s).ok());
}

TEST_F(MessagesTest, LeemensajesnuevosMarksWhatItListed) {
    LoggedIn seller(db);
    ASSERT_TRUE(seller.login());
    EXPECT_EQ(leemensajesnuevos(seller.link), QStringList());
    db.postMessage(u"00012"_s, QString(131, u'm'));
    const auto lines = leemensajesnuevos(seller.link);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 5 + 3);
    EXPECT_EQ(lines->first(), u"Vendedor Envia : BANCA"_s);
    EXPECT_EQ(leemensajesnuevos(seller.link), QStringList());  // reported as new only once
}

}  // namespace
