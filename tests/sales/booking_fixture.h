#pragma once

#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

namespace vendura::test {

// Vendor 00012 (user 1001) with lotteries AAA and BBB (quotas of 100 a triple, 300 a terminal),
// calling the sales procedures through its own login on an open ticket.
class BookingFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.seedLotteries();
        ASSERT_TRUE(gateway.open(db.connectionText()).ok());
        nticket = db.newTicket(u"00012"_s);
    }
    CallAnswer call(const ProcedureCall& c, DatabaseGateway* g = nullptr) {
        auto answer = (g ? *g : gateway).call(c);
        EXPECT_TRUE(answer.ok()) << answer.error().description.toStdString();
        return answer.ok() ? answer.value() : CallAnswer{};
    }
    // "return | record | ...", each record its fields in the order named, amounts as numbers.
    static QString answerText(const CallAnswer& a, const QStringList& fields) {
        QStringList out{a.returnText()};
        for (int i = 0; i < a.rows.size(); ++i) {
            QStringList values;
            for (const QString& f : fields) {
                const QString v = a.rows.text(i, f);
                values << (f == u"monto"_s ? QString::number(v.toDouble()) : v);
            }
            out << values.join(u' ');
        }
        return out.join(u" | "_s);
    }
    // What the quotas of AAA and BBB hold sold of a number ("AAA 100 BBB 10"); the sales
    // monitor's accumulation must agree.
    QString sold(const QString& number) {
        const QString quota = db.value(
            u"SELECT string_agg(l || ' ' || coalesce((SELECT sum(vendido) FROM "
            u"central.ventas_numero WHERE cod_lot = l AND numero = $1), 0)::float8, ' ') "
            u"FROM unnest(ARRAY['AAA', 'BBB']) l"_s,
            {number});
        EXPECT_EQ(db.value(u"SELECT string_agg(l || ' ' || coalesce((SELECT sum(monto_normal + "
                           u"monto_digito + monto_especial) FROM central.acumulados WHERE "
                           u"cod_lot = l AND numero = $1), 0)::float8, ' ') "
                           u"FROM unnest(ARRAY['AAA', 'BBB']) l"_s,
                           {QString(number).remove(u'*')}),
                  quota)
            << number.toStdString();
        return quota;
    }
    // What the live plays of a number hold on AAA and BBB, as sold() shows it.
    QString held(const QString& number) {
        return db.value(
            u"SELECT string_agg(l || ' ' || coalesce((SELECT sum(monto_vendido) FROM "
            u"central.items_ticket WHERE cod_lot = l AND numero = $1 AND vigente), 0)::float8, "
            u"' ') FROM unnest(ARRAY['AAA', 'BBB']) l"_s,
            {number});
    }
    // The item numbers of the live plays of every ticket.
    QString live() {
        return db.value(
            u"SELECT string_agg(num_item::text, ' ' ORDER BY num_item) "
            u"FROM central.items_ticket WHERE vigente"_s);
    }
    QString itemCount() { return db.value(u"SELECT count(*) FROM central.items_ticket"_s); }

    TestDatabase db;
    PqGateway gateway{5};
    QString nticket;
};

}  // namespace vendura::test
