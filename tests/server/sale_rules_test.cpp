// Booking reads the office's rules (lottery off sale, draw closed by the hour or by hand, void
// or with results, a day it does not draw, a sales point's own deactivation, the quotas of the
// number, the draw and the lottery) in compiled code; the rest of the server asks
// central.venta_loteria and central.cupo. Random rules, and every straight play answered and
// booked as those functions say. VENDURA_RULES_SEED replays a run.
#include "platform/pq_gateway.h"
#include "replayable_seed.h"
#include "test_database.h"

#include <QDate>

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace vendura;
using namespace vendura::test;

namespace {

const QStringList kLotteries = {u"AAA"_s, u"BBB"_s, u"CCC"_s, u"DDD"_s, u"EEE"_s};

// "12.500" and "12.5" alike
QString plain(QString amount) {
    if (amount.contains(u'.')) {
        while (amount.endsWith(u'0')) amount.chop(1);
        if (amount.endsWith(u'.')) amount.chop(1);
    }
    return amount;
}

struct Rules {
    TestDatabase& db;
    std::mt19937& rng;

    bool chance(int percent) { return int(rng() % 100) < percent; }
    QString pick(const QStringList& list) { return list[qsizetype(rng() % list.size())]; }
    QString flag(int percent) { return chance(percent) ? u"true"_s : u"false"_s; }

    // One day's rules for every lottery, at 10:00 of that day.
    void draw(const QString& day) {
        db.setClock(day + u" 10:00:00"_s);
        // the clock stands at 10:00: a closing at that second has come, one a second later has not
        const QStringList hours = {u"09:59:59"_s, u"10:00:00"_s, u"10:00:01"_s, u"23:00:00"_s,
                                   u"23:00:00"_s, u"23:00:00"_s, u"23:00:00"_s, u"23:00:00"_s};
        const QStringList quotas = {u"0"_s, u"3"_s, u"10"_s, u"50"_s, u"50"_s};
        db.admin(u"DELETE FROM central.loterias_inactivas"_s);
        for (const QString& lot : kLotteries) {
            QStringList days;
            for (int d = 0; d < 7; ++d) days << flag(90);
            db.admin(
                u"UPDATE central.loterias SET cerrada = $2::boolean, juegaespecial = $3, "
                u"hora_cierre = $4::time, cupo_triple = $5::numeric, cupo_terminal = $6::numeric, "
                u"dia_1 = $7::boolean, dia_2 = $8::boolean, dia_3 = $9::boolean, "
                u"dia_4 = $10::boolean, dia_5 = $11::boolean, dia_6 = $12::boolean, "
                u"dia_7 = $13::boolean WHERE cod_lot = $1"_s,
                QStringList{lot, flag(10), pick({u"N"_s, u"N"_s, u"N"_s, u"A"_s, u"A"_s, u"S"_s}),
                            pick(hours), pick(quotas), pick(quotas)} +
                    days);
            if (chance(50)) {
                const bool closed = chance(20);
                db.admin(
                    u"INSERT INTO central.sorteos (cod_lot, fecha, hora_cierre, cerrado, anulado, "
                    u"cupo_triple, cupo_terminal) VALUES ($1, $2::date, "
                    u"nullif($3, '')::time, $4::boolean, $5::boolean, nullif($6, '')::numeric, "
                    u"nullif($7, '')::numeric)"_s,
                    {lot, day, chance(50) ? pick(hours) : QString(),
                     closed ? u"true"_s : u"false"_s, closed && chance(50) ? u"true"_s : u"false"_s,
                     chance(50) ? pick(quotas) : QString(), chance(50) ? pick(quotas) : QString()});
            }
            if (chance(10))
                db.admin(
                    u"INSERT INTO central.resultados (cod_lot, fecha, triple) "
                    u"VALUES ($1, $2::date, '123')"_s,
                    {lot, day});
            if (chance(10))
                db.admin(
                    u"INSERT INTO central.loterias_inactivas (cod_vendedor, cod_lot) "
                    u"VALUES ('00012', $1)"_s,
                    {lot});
        }
    }

    // What central.venta_loteria and central.cupo say of one item: the status and the amount
    // sold, "0" with nothing to answer when sold in full.
    std::pair<QString, QString> expected(const QString& lot, const QString& number, int amount) {
        const auto r = db.rows(
            u"SELECT (v.abierta AND v.juegaespecial <> 'S')::text, "
            u"greatest(c.cupo - coalesce((SELECT n.vendido FROM central.ventas_numero n "
            u"WHERE n.cod_lot = $1 AND n.fecha = central.ahora()::date AND n.numero = $2), 0), "
            u"0)::text "
            u"FROM central.venta_loteria($1, central.ahora(), '00012') v "
            u"CROSS JOIN central.cupo($1, central.ahora()::date, $2) c"_s,
            {lot, number});
        if (r[0][0] != u"true"_s) return {u"4"_s, u"0"_s};
        const QString room = plain(r[0][1]);
        if (room.toInt() >= amount) return {u"0"_s, QString::number(amount)};
        return {room == u"0"_s ? u"1"_s : u"2"_s, room};
    }
};

TEST(SaleRulesTest, EveryStraightPlayIsBookedAsTheOfficesRulesSay) {
    const unsigned seed = replayableSeed("VENDURA_RULES_SEED");
    SCOPED_TRACE(replayWith("VENDURA_RULES_SEED", seed));
    std::mt19937 rng(seed);
    TestDatabase db;
    db.seedVendor();
    db.seedLotteries();
    db.addLottery(u"CCC"_s, u"GAMMA"_s, u"23:00"_s, u"100"_s, u"300"_s, 3);
    db.addLottery(u"DDD"_s, u"DELTA"_s, u"23:00"_s, u"100"_s, u"300"_s, 4);
    db.addLottery(u"EEE"_s, u"EPSILON"_s, u"23:00"_s, u"100"_s, u"300"_s, 5);
    PqGateway counter;
    ASSERT_TRUE(counter.open(db.connectionText()).ok());
    Rules rules{db, rng};

    std::map<QString, int> statuses;
    for (int round = 0; round < 40; ++round) {
        const QString day = QDate(2027, 1, 4).addDays(round).toString(Qt::ISODate);
        rules.draw(day);
        const QString ticket = db.newTicket(u"00012"_s);
        for (int play = 0; play < 6; ++play) {
            // one or two different lotteries, now and then one that does not exist
            QStringList lots = {rules.pick(kLotteries + QStringList{u"ZZZ"_s})};
            if (rules.chance(50)) {
                QString other = rules.pick(kLotteries);
                if (other != lots[0]) lots << other;
            }
            const int digits = 1 + int(rng() % 3);
            const QString typed = QString::number(rng() % (digits == 1   ? 10
                                                           : digits == 2 ? 100
                                                                         : 1000))
                                      .rightJustified(digits, u'0');
            const QString number = typed.leftJustified(3, u'*');
            for (const QString& lot : lots)
                if (lot != u"ZZZ"_s && rules.chance(30))
                    db.admin(
                        u"INSERT INTO central.cupos_numero (cod_lot, numero, cupo) "
                        u"VALUES ($1, $2, $3::numeric) "
                        u"ON CONFLICT (cod_lot, numero) DO UPDATE SET cupo = excluded.cupo"_s,
                        {lot, number, rules.pick({u"0"_s, u"2"_s, u"7"_s})});
            const int amount = 1 + int(rng() % 8);
            std::map<QString, std::pair<QString, QString>> want;
            for (const QString& lot : lots) want[lot] = rules.expected(lot, number, amount);

            const QString call = u"day %1 play %2: %3 on %4 for %5"_s.arg(day)
                                     .arg(play)
                                     .arg(number, lots.join(QString()))
                                     .arg(amount);
            auto a = counter.callPositional(
                u"xcreanormal"_s, {u"00012"_s, u"1001"_s, typed, QString::number(amount),
                                   QString::number(play * 2), lots.join(QString()), ticket});
            ASSERT_TRUE(a.ok()) << call.toStdString();
            std::map<QString, std::pair<QString, QString>> got;
            for (const QString& lot : lots) got[lot] = {u"0"_s, QString::number(amount)};
            for (int r = 0; r < a.value().rows.size(); ++r)
                got[a.value().rows.text(r, u"cod_lot"_s)] = {
                    a.value().rows.text(r, u"status"_s), plain(a.value().rows.text(r, u"monto"_s))};
            EXPECT_EQ(got, want) << call.toStdString();
            for (const auto& [lot, w] : want) ++statuses[w.first];
        }
    }
    // items sold in full, in part, not at all for want of quota, and refused, often enough each
    // to mean something
    EXPECT_GT(statuses[u"0"_s], 30);
    EXPECT_GT(statuses[u"1"_s] + statuses[u"2"_s], 10);
    EXPECT_GT(statuses[u"4"_s], 30);
    // and the numbers' quota is exactly what the items took
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.ventas_numero v WHERE v.vendido <> "
                       u"(SELECT coalesce(sum(i.monto_vendido), 0) FROM central.items_ticket i "
                       u"WHERE i.cod_lot = v.cod_lot AND i.fecha_sorteo = v.fecha "
                       u"AND i.numero = v.numero AND i.vigente)"_s),
              u"0"_s);
}

}  // namespace
