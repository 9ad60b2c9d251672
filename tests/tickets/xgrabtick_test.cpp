#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace vendura;
using vendura::test::TestDatabase;

namespace {

// What xgrabtick answers and keeps for saves the sales screen does not make; an abandoned
// number, a closed draw and a void through the screen are in ticket_issue_test.
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
        int item = 0;
        for (const auto& [lot, amount] : {std::pair{u"AAA"_s, 70}, std::pair{u"BBB"_s, 50}}) {
            ASSERT_TRUE(gateway
                            .call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(amount),
                                              item++, lot, nticket))
                            .ok());
        }
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
    // "tickets issued | AAA sold | BBB sold | state of the open ticket"
    QString state() {
        return db.value(
            u"SELECT (SELECT count(*) FROM central.tickets) || ' | ' || "
            u"(SELECT string_agg(vendido::float8::text, ' | ' ORDER BY cod_lot) "
            u"FROM central.ventas_numero WHERE numero = '123') || ' | ' || "
            u"coalesce((SELECT estado FROM central.tickets_temporales WHERE nticket = $1), '')"_s,
            {nticket});
    }

    TestDatabase db;
    PqGateway gateway{5};
    QString nticket;
};

TEST_F(XgrabtickTest, IssuesOnceWithTheServersDateAndAnswersARepeatAsBefore) {
    const CallAnswer a = save(u"1234567"_s, u"110"_s);
    EXPECT_EQ(a.returnNumber(), 0);
    EXPECT_EQ(a.output(u"@xfecha_ticket"_s) + u" "_s + a.output(u"@xhora_ticket"_s),
              u"07/12/2026 10:00:00"_s);
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
    EXPECT_EQ(state(), u"1 | 70 | 100 | EMI"_s);  // an issued ticket keeps its quota

    // the same save after a lost answer, with a new serial drawn: nothing more is issued
    const CallAnswer again = save(u"7654321"_s, u"110"_s);
    EXPECT_EQ(again.returnNumber(), 0);
    EXPECT_EQ(again.outputs, a.outputs);
    EXPECT_EQ(again.rows.text(0, u"serial"_s), u"1234567"_s);
    EXPECT_EQ(state(), u"1 | 70 | 100 | EMI"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets_temporales WHERE estado = 'ABI'"_s),
              u"1"_s);

    ProcedureCall printed{u"xmarcaimpreso"_s, {}};
    printed.in(u"@xcodigo_vend"_s, u"00012"_s).in(u"@xnroticket"_s, nticket);
    EXPECT_EQ(gateway.call(printed).value().returnNumber(), 0);
    EXPECT_EQ(db.value(u"SELECT impreso FROM central.tickets"_s), u"t"_s);
}

// A refused save issues nothing and keeps the ticket open under its number; a total the
// server does not agree with voids it and gives its quota back, even with a draw closed, and
// a void ticket stays void.
TEST_F(XgrabtickTest, ARefusedSaveIssuesNothingAndAWrongTotalVoidsTheTicket) {
    const struct {
        const char* serial;
        const char* total;
        const char* estado;
        const char* ticket;
        int code;
    } cases[] = {{"", "110", "ACT", "", 4},      {"0", "110", "ACT", "", 4},
                 {"0123", "110", "ACT", "", 4},  {"2000000002", "110", "ACT", "", 4},
                 {"12a", "110", "ACT", "", 4},   {"-5", "110", "ACT", "", 4},
                 {"5", "110", "ELI", "", 4},     {"5", "110.0001", "ACT", "", 4},
                 {"5", "1000000", "ACT", "", 4}, {"5", "110", "ACT", "9999999999", 1}};
    for (const auto& c : cases) {
        const QString ticket = QString::fromLatin1(c.ticket);
        const CallAnswer a = save(QString::fromLatin1(c.serial), QString::fromLatin1(c.total),
                                  ticket, QString::fromLatin1(c.estado));
        EXPECT_EQ(a.returnNumber(), c.code) << c.serial << " " << c.total << " " << c.ticket;
        EXPECT_EQ(a.output(u"@xnroticket"_s), ticket.isEmpty() ? nticket : ticket);
    }
    db.admin(u"UPDATE central.usuarios SET estado = 'S' WHERE cod_usuario = '1001'"_s);
    EXPECT_EQ(save(u"5"_s, u"110"_s).returnNumber(), 12);  // suspended since the login
    db.admin(u"UPDATE central.usuarios SET estado = 'A' WHERE cod_usuario = '1001'"_s);
    db.admin(
        u"INSERT INTO central.sorteos (cod_lot, fecha, cerrado) VALUES ('BBB', '2026-12-07', true)"_s);
    const CallAnswer closed = save(u"5"_s, u"110"_s);  // nothing given back: the seller decides
    EXPECT_EQ(closed.returnNumber(), 6);
    EXPECT_EQ(closed.output(u"@xnroticket"_s) + u" "_s + closed.output(u"@xfecha_ticket"_s),
              nticket + u" 07/12/2026"_s);
    EXPECT_EQ(state(), u"0 | 70 | 100 | ABI"_s);

    const CallAnswer wrong = save(u"5"_s, u"111"_s);
    EXPECT_EQ(wrong.returnNumber(), 88);
    EXPECT_EQ(wrong.output(u"@xnroticket"_s).size(), 10);
    EXPECT_NE(wrong.output(u"@xnroticket"_s), nticket);
    EXPECT_EQ(state(), u"0 | 0 | 60 | INV"_s);
    EXPECT_EQ(save(u"5"_s, u"110"_s).returnNumber(), 88);
}

}  // namespace
