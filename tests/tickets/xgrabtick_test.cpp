#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace vendura;
using vendura::test::TestDatabase;

namespace {

class XgrabtickTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.seedLotteries();
        ASSERT_TRUE(gateway.open(db.connectionText()).ok());
        ProcedureCall call{u"nregresaticket"_s, {}};
        call.in(u"@xcodigo_vend"_s, u"00012"_s);
        nticket = gateway.call(call).value().returnText().rightJustified(10, u'0');
        // 70 on AAA sold, 40 of 50 on BBB (30 were sold before by someone else)
        db.admin(u"INSERT INTO central.ventas_numero VALUES ('BBB', '2026-12-07', '123', 60)"_s);
        ASSERT_TRUE(gateway
                        .call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(70), 0,
                                          u"AAA"_s, nticket))
                        .ok());
        ASSERT_TRUE(gateway
                        .call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(50), 1,
                                          u"BBB"_s, nticket))
                        .ok());
    }
    CallAnswer save(const QString& serial, const QString& total, const QString& ticket = {},
                    const QString& estado = u"ACT"_s) {
        ProcedureCall call{u"xgrabtick"_s, {}, 900};
        call.in(u"@xcodigo_vend"_s, u"00012"_s)
            .in(u"@xcodigo_user"_s, u"1001"_s)
            .in(u"@xseriald"_s, serial)
            .out(u"@xfecha_ticket"_s, QString())
            .out(u"@xhora_ticket"_s, QString())
            .in(u"@xestado_ticket"_s, estado)
            .decimal(u"@xmonto_ticket"_s, total)
            .in(u"@xanulado"_s, u"N"_s)
            .in(u"@xnroticktmp"_s, ticket.isEmpty() ? nticket : ticket)
            .out(u"@xnroticket"_s, nticket);
        auto answer = gateway.call(call);
        EXPECT_TRUE(answer.ok()) << answer.error().description.toStdString();
        return answer.ok() ? answer.value() : CallAnswer{};
    }
    QString count(const char* table) {
        return db.value(u"SELECT count(*) FROM central."_s + QString::fromLatin1(table));
    }
    QString sold(const QString& lot) {
        return db.value(
            u"SELECT vendido::float8::text FROM central.ventas_numero "
            u"WHERE cod_lot = $1 AND numero = '123'"_s,
            {lot});
    }

    TestDatabase db;
    PqGateway gateway{5};
    QString nticket;
};

TEST_F(XgrabtickTest, IssuesTheTicketWithTheServersTotalDateAndTheNextNumber) {
    const CallAnswer a = save(u"1234567"_s, u"110"_s);
    EXPECT_EQ(a.returnNumber(), 0);
    EXPECT_EQ(a.output(u"@xfecha_ticket"_s), u"07/12/2026"_s);
    EXPECT_EQ(a.output(u"@xhora_ticket"_s), u"10:00:00"_s);
    const QString next = a.output(u"@xnroticket"_s);
    EXPECT_EQ(next.size(), 10);
    EXPECT_NE(next, nticket);
    EXPECT_EQ(
        db.rows(u"SELECT nroticket, serial, monto::float8, estado, anulado, impreso "
                u"FROM central.tickets"_s),
        (std::vector<QStringList>{{nticket, u"1234567"_s, u"110"_s, u"ACT"_s, u"N"_s, u"f"_s}}));
    EXPECT_EQ(
        db.value(u"SELECT estado FROM central.tickets_temporales WHERE nticket = $1"_s, {next}),
        u"ABI"_s);
    EXPECT_EQ(sold(u"AAA"_s), u"70"_s);  // an issued ticket keeps its quota

    ProcedureCall printed{u"xmarcaimpreso"_s, {}};
    printed.in(u"@xcodigo_vend"_s, u"00012"_s).in(u"@xnroticket"_s, nticket);
    EXPECT_EQ(gateway.call(printed).value().returnNumber(), 0);
    EXPECT_EQ(db.value(u"SELECT impreso FROM central.tickets"_s), u"t"_s);
}

TEST_F(XgrabtickTest, ARepeatedSaveAnswersTheSameAndIssuesNothingMore) {
    const CallAnswer first = save(u"1234567"_s, u"110"_s);
    const CallAnswer again = save(u"7654321"_s, u"110"_s);  // a new serial was drawn
    EXPECT_EQ(again.returnNumber(), 0);
    EXPECT_EQ(again.output(u"@xnroticket"_s), first.output(u"@xnroticket"_s));
    EXPECT_EQ(again.output(u"@xfecha_ticket"_s), first.output(u"@xfecha_ticket"_s));
    EXPECT_EQ(again.rows.text(0, u"serial"_s), u"1234567"_s);
    EXPECT_EQ(count("tickets"), u"1"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets_temporales WHERE estado = 'ABI'"_s),
              u"1"_s);
}

TEST_F(XgrabtickTest, ATotalThatDisagreesVoidsTheTicketAndGivesItsQuotaBack) {
    const CallAnswer a = save(u"1234567"_s, u"120"_s);
    EXPECT_EQ(a.returnNumber(), 88);
    EXPECT_EQ(a.output(u"@xnroticket"_s).size(), 10);
    EXPECT_NE(a.output(u"@xnroticket"_s), nticket);
    EXPECT_EQ(count("tickets"), u"0"_s);
    EXPECT_EQ(sold(u"AAA"_s), u"0"_s);
    EXPECT_EQ(sold(u"BBB"_s), u"60"_s);
    EXPECT_EQ(save(u"1234567"_s, u"110"_s).returnNumber(), 88);  // and stays void
}

TEST_F(XgrabtickTest, ALotteryClosedSinceTheSaleKeepsTheTicketOpenUnderItsNumber) {
    db.admin(
        u"INSERT INTO central.sorteos (cod_lot, fecha, cerrado) VALUES ('BBB', '2026-12-07', true)"_s);
    const CallAnswer closed = save(u"1234567"_s, u"110"_s);
    EXPECT_EQ(closed.returnNumber(), 6);
    EXPECT_EQ(closed.output(u"@xnroticket"_s), nticket);
    EXPECT_EQ(closed.output(u"@xfecha_ticket"_s), u"07/12/2026"_s);
    EXPECT_EQ(count("tickets"), u"0"_s);
    EXPECT_EQ(sold(u"AAA"_s), u"70"_s);  // nothing given back: the seller decides
    EXPECT_EQ(
        db.value(u"SELECT estado FROM central.tickets_temporales WHERE nticket = $1"_s, {nticket}),
        u"ABI"_s);

    // the seller takes the closed lottery's play off (as removing by lottery does) and issues
    // the rest
    db.admin(u"UPDATE central.items_ticket SET vigente = false WHERE cod_lot = 'BBB'"_s);
    EXPECT_EQ(save(u"1234567"_s, u"70"_s).returnNumber(), 0);
    EXPECT_EQ(db.value(u"SELECT monto::float8::text FROM central.tickets"_s), u"70"_s);
}

TEST_F(XgrabtickTest, ATotalThatDisagreesVoidsTheTicketEvenWithADrawClosed) {
    db.setClock(u"2026-12-07 23:10:00"_s);
    EXPECT_EQ(save(u"1234567"_s, u"111"_s).returnNumber(), 88);
    EXPECT_EQ(sold(u"AAA"_s), u"0"_s);
}

TEST_F(XgrabtickTest, AMalformedSaveIsNotIssuedAndTheTicketStaysOpenAsItWas) {
    struct Case {
        const char* serial;
        const char* total;
        const char* estado;
    };
    for (const Case& c : std::initializer_list<Case>{{"", "110", "ACT"},
                                                     {"0", "110", "ACT"},
                                                     {"0123", "110", "ACT"},
                                                     {"2000000002", "110", "ACT"},
                                                     {"12a", "110", "ACT"},
                                                     {"-5", "110", "ACT"},
                                                     {"5", "110", "ELI"},
                                                     {"5", "110.0001", "ACT"},
                                                     {"5", "1000000", "ACT"}}) {
        const CallAnswer a = save(QString::fromLatin1(c.serial), QString::fromLatin1(c.total), {},
                                  QString::fromLatin1(c.estado));
        EXPECT_EQ(a.returnNumber(), 4) << c.serial << " " << c.total;
        EXPECT_EQ(a.output(u"@xnroticket"_s), nticket);
        EXPECT_EQ(a.output(u"@xfecha_ticket"_s), u"07/12/2026"_s);
    }
    EXPECT_EQ(count("tickets"), u"0"_s);
    EXPECT_EQ(sold(u"AAA"_s), u"70"_s);
    EXPECT_EQ(save(u"5"_s, u"110"_s).returnNumber(), 0);
}

TEST_F(XgrabtickTest, AnUnknownNumberIsRefusedAndAnAbandonedOneGoesOnUnderANewNumber) {
    const CallAnswer unknown = save(u"5"_s, u"110"_s, u"9999999999"_s);
    EXPECT_EQ(unknown.returnNumber(), 1);
    EXPECT_EQ(unknown.output(u"@xnroticket"_s), u"9999999999"_s);
    EXPECT_EQ(
        db.value(u"SELECT estado FROM central.tickets_temporales WHERE nticket = $1"_s, {nticket}),
        u"ABI"_s);  // the open ticket was not abandoned

    const QString next = db.newTicket(u"00012"_s);  // another login of this sales point
    const CallAnswer abandoned = save(u"5"_s, u"110"_s);
    EXPECT_EQ(abandoned.returnNumber(), 1);
    const QString moved = abandoned.output(u"@xnroticket"_s);
    EXPECT_NE(moved, nticket);
    EXPECT_NE(moved, next);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets_temporales WHERE estado = 'ABI'"_s),
              u"2"_s);
    EXPECT_EQ(count("tickets"), u"0"_s);
}

TEST_F(XgrabtickTest, ASellerSuspendedAfterLoginCannotIssue) {
    db.admin(u"UPDATE central.usuarios SET estado = 'S' WHERE cod_usuario = '1001'"_s);
    const CallAnswer a = save(u"5"_s, u"110"_s);
    EXPECT_EQ(a.returnNumber(), 12);
    EXPECT_EQ(a.output(u"@xnroticket"_s), nticket);
    EXPECT_EQ(count("tickets"), u"0"_s);
    EXPECT_EQ(sold(u"AAA"_s), u"70"_s);
}

}  // namespace
