// The straight play booked in compiled code against central.crea_normal, the PL/pgSQL procedure
// of every case: the same calls on two copies of one sales point answer and book the same.
// VENDURA_BOOKING_SEED replays a run.
#include "platform/pq_gateway.h"
#include "replayable_seed.h"
#include "test_database.h"

#include <gtest/gtest.h>

#include <random>

using namespace vendura;
using namespace vendura::test;

namespace {

// A copy whose xcreanormal hands every call to the general procedure.
constexpr auto kGeneralOnly = R"(
CREATE OR REPLACE PROCEDURE public.xcreanormal(
    INOUT return_value integer, IN t_vendedor varchar, IN t_usuario varchar,
    IN t_numero_cadena varchar, IN t_monto_normal varchar, IN num_item varchar,
    IN t_cod_lot varchar, IN nticket varchar, INOUT rs refcursor)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    SELECT c.return_value, c.rs INTO return_value, rs
    FROM central.crea_normal(t_vendedor, t_usuario, t_numero_cadena, t_monto_normal, num_item,
                             t_cod_lot, nticket, rs) c;
END
$$)";

struct SalesPoint {
    TestDatabase db;
    PqGateway counter;
    QString ticket;

    explicit SalesPoint(bool generalOnly) {
        db.seedVendor();
        db.seedLotteries();
        // a lottery that has closed, one this sales point has taken off sale
        db.addLottery(u"CCC"_s, u"GAMMA"_s, u"09:00"_s, u"100"_s, u"300"_s, 3);
        db.addLottery(u"DDD"_s, u"DELTA"_s, u"23:00"_s, u"100"_s, u"300"_s, 4);
        db.admin(
            u"INSERT INTO central.loterias_inactivas (cod_vendedor, cod_lot) "
            u"VALUES ('00012', 'DDD')"_s);
        if (generalOnly) db.admin(QString::fromLatin1(kGeneralOnly));
        EXPECT_TRUE(counter.open(db.connectionText()).ok());
        ticket = db.newTicket(u"00012"_s);
    }

    // The answer as the counter reads it: return value and every row, or the error.
    QString sell(const QStringList& call) {
        QStringList args = call;
        args.append(ticket);
        auto a = counter.callPositional(u"xcreanormal"_s, args);
        if (!a) return u"error "_s + a.error().description.section(u':', 0, 0);
        QString text = a.value().returnText();
        for (int r = 0; r < a.value().rows.size(); ++r) {
            for (const char* f : {"cod_lot", "numero", "monto", "status", "titems", "ultimo_item"})
                text += u' ' + a.value().rows.text(r, QString::fromLatin1(f));
            text += u';';
        }
        return text;
    }

    // What the ledger holds: the ticket's items, the numbers' sales and the audit trail's kinds.
    std::vector<QStringList> ledger() const {
        auto rows = db.rows(
            u"SELECT num_item::text, cod_lot, fecha_sorteo::text, numero, monto_pedido::text, "
            u"monto_vendido::text, status, tipo, jugada, vigente::text, creado::text "
            u"FROM central.items_ticket ORDER BY num_item"_s);
        for (auto& r : db.rows(u"SELECT cod_lot, fecha::text, numero, vendido::text "
                               u"FROM central.ventas_numero ORDER BY 1, 2, 3"_s))
            rows.push_back(r);
        for (auto& r : db.rows(u"SELECT accion, count(*)::text FROM central.auditoria "
                               u"GROUP BY accion ORDER BY accion"_s))
            rows.push_back(r);
        return rows;
    }
};

TEST(CompiledBookingTest, TheStraightPlayAnswersAndBooksAsTheGeneralProcedure) {
    const unsigned seed = replayableSeed("VENDURA_BOOKING_SEED");
    SCOPED_TRACE(replayWith("VENDURA_BOOKING_SEED", seed));
    std::mt19937 rng(seed);
    SalesPoint compiled(false);
    SalesPoint general(true);

    // Few numbers and amounts near the quotas (100 a triple, 300 a terminal), so that numbers
    // sell out and items sell in part. A call is plain, or has one field from the second list
    // of each pair: input the straight path leaves to the general procedure, or a refusal.
    struct Field {
        std::vector<const char*> plain, odd;
    };
    const Field fields[] = {
        {{"00012"}, {"00013", "", "0001"}},
        {{"1001"}, {"1002", "9999", ""}},
        {{"123", "7", "07", "45", " 9 ", "999"}, {"1x", "", "1234", "٣", "-1"}},
        {{"10", "25.5", "60", "150", " 40 ", "0.01", "300", "5.", ".50", "025.50", "7.000"},
         {"0", "-5", "1.234", "abc", "", "999999.99", "1000000", ".5", ".", "1e3", "1.2.3", "+5",
          "5 5", "5,00", "0.00", "123456789", "1234567890", "\t5", "٣"}},
        {{"next"}, {"again", "last", "x1", " 3"}},
        {{"AAA", "BBB", "AAABBB", "aaabbb", "BBBAAA", " AA", "ZZZ", "AAAZZZBBB", "CCCAAA", "DDDBBB",
          "AAAAAA"},
         {"AAÁ", "", "AAABBBCCCDDDAAABBBCCCDDDAAA", "AAABBBAAABBBAAABBB"}},
    };
    const auto from = [&](const std::vector<const char*>& list) {
        return QString::fromUtf8(
            list[std::uniform_int_distribution<size_t>(0, list.size() - 1)(rng)]);
    };

    int next = 0, sold = 0;
    QStringList last;
    for (int step = 0; step < 160; ++step) {
        const int odd = int(rng() % 10) < 6 ? -1 : int(rng() % std::size(fields));
        QStringList call;
        for (int f = 0; f < int(std::size(fields)); ++f)
            call << from(f == odd ? fields[f].odd : fields[f].plain);
        if (call[4] == u"again"_s && !last.isEmpty()) {
            call = last;  // the same call once more, as after a lost answer
        } else if (call[4] == u"next"_s || call[4] == u"again"_s) {
            call[4] = QString::number(next);
        } else if (call[4] == u"last"_s) {
            call[4] = QString::number(std::max(0, next - 1));
        }
        const QString a = compiled.sell(call);
        const QString b = general.sell(call);
        ASSERT_EQ(a, b) << "step " << step << ": " << call.join(u'|').toStdString();
        // the counter numbers its next call past the highest item the answer names, or past
        // every item of a call sold in full
        const qsizetype at = a.lastIndexOf(u';');
        if (at > 0) next = std::max(next, a.left(at).section(u' ', -1).toInt());
        if (a == u"0"_s) next = std::max(next, call[4].toInt() + int(call[5].size() + 2) / 3);
        if (a.startsWith(u"0"_s) || a.startsWith(u"1 "_s)) ++sold;
        last = call;
    }
    // the sequence sold, in full or in part, on most steps: not a run of refusals alike
    EXPECT_GT(sold, 40);
    EXPECT_EQ(compiled.ledger(), general.ledger());
}

// Every amount text, at and past each edge of the amount rule, is read by the compiled play as
// the general procedure reads it.
TEST(CompiledBookingTest, EveryAmountTextIsReadAsTheGeneralProcedureReadsIt) {
    SalesPoint compiled(false);
    SalesPoint general(true);
    const char* amounts[] = {"5",          "5.",         "5.5",        ".5",        ".",
                             "",           " 7 ",        "007",        "0",         "0.",
                             ".0",         "0.00",       "0.001",      "0.01",      "0.010",
                             "0.0100",     "0.015",      "1.234",      "1.230",     "999999.99",
                             "999999.990", "999999.991", "1000000",    "123456789", "123456789.00",
                             "1234567890", "000000001",  "0000000001", "1e3",       "1.2.3",
                             "+5",         "-5",         "5 5",        "5,00",      "\t5",
                             "٣",          "NaN",        "Infinity",   "  .01  "};
    int k = 0;
    for (const char* amount : amounts) {
        const QStringList call = {
            u"00012"_s,         u"1001"_s, QString::number(100 + k), QString::fromUtf8(amount),
            QString::number(k), u"AAA"_s};
        EXPECT_EQ(compiled.sell(call), general.sell(call)) << '"' << amount << '"';
        ++k;
    }
    EXPECT_EQ(compiled.ledger(), general.ledger());
}

// Items are dated by the server's clock: on a running clock, the installation's time zone moved
// by its offset, as central.ahora() reads it just before and just after the play.
TEST(CompiledBookingTest, ItemsAreDatedByTheServersRunningClock) {
    SalesPoint point(false);
    point.db.admin(
        u"UPDATE central.instalacion SET reloj_fijo = NULL, zona_horaria = 'Asia/Tokyo', "
        u"reloj_desfase = interval '-2 days 3 hours'"_s);
    point.db.admin(u"UPDATE central.loterias SET hora_cierre = '23:59:59'"_s);
    point.ticket = point.db.newTicket(u"00012"_s);
    const QString before = point.db.value(u"SELECT central.ahora()::text"_s);
    ASSERT_EQ(point.sell({u"00012"_s, u"1001"_s, u"123"_s, u"5"_s, u"0"_s, u"AAA"_s}), u"0"_s);
    const QString after = point.db.value(u"SELECT central.ahora()::text"_s);
    EXPECT_EQ(point.db.value(u"SELECT (creado BETWEEN $1::timestamp AND $2::timestamp "
                             u"AND fecha_sorteo = creado::date)::text "
                             u"FROM central.items_ticket"_s,
                             {before, after}),
              u"true"_s);
}

}  // namespace
