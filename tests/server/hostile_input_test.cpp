#include "catalogue.h"
#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

TEST(HostileInputTest, EveryProcedureRefusesWhatASalesPointCouldSendItAndChangesNothing) {
    TestDatabase db;
    db.seedVendor();
    db.addVendor(u"00013"_s, u"2001"_s);
    db.seedLotteries();
    PqGateway gateway(5);
    ASSERT_TRUE(gateway.open(db.connectionText()).ok());
    // the sales point has an open ticket with a sold play, and the other one too
    const QString open = db.newTicket(u"00012"_s);
    ASSERT_TRUE(
        gateway
            .call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(50), 0, u"AAA"_s, open))
            .ok());
    const QString theirs = db.newTicket(u"00013"_s);

    const std::vector<FieldValue> hostile{
        u""_s,
        std::nullopt,
        QString(10000, u'9'),
        u"x'; DROP TABLE central.tickets; --"_s,
        u"SELECT cod_vendedor FROM central.usuarios"_s,
        u"abc"_s,
        u"-1"_s,
        u"1000000000000"_s,
        u"31/02/2026"_s,
        u"00013"_s,
        theirs,
    };
    const std::vector<Procedure> procedures = catalogue(db);
    ASSERT_GE(procedures.size(), 9u);
    const QString before = db.checksum();
    int calls = 0;
    for (const Procedure& p : procedures) {
        for (size_t arg = 0; arg < std::max<size_t>(p.arguments.size(), 1); ++arg) {
            for (const FieldValue& value : hostile) {
                auto answer = gateway.call(callOf(p, [&](size_t i, const Argument& a) {
                    return i == arg ? value : FieldValue(baseline(a));
                }));
                ++calls;
                const std::string where =
                    p.name.toStdString() + " " +
                    (p.arguments.empty() ? std::string() : p.arguments[arg].name.toStdString()) +
                    "=" + value.value_or(u"NULL"_s).left(40).toStdString();
                if (!answer) {
                    // a raised error is an answer; a lost connection is a crashed backend
                    EXPECT_EQ(answer.error().number, db_error::kServerError)
                        << where << ": " << answer.error().description.toStdString();
                    ASSERT_TRUE(gateway.isOpen()) << where;
                } else {
                    EXPECT_TRUE(answer.value().returnValue.has_value()) << where;
                }
                ASSERT_EQ(db.checksum(), before) << where;
            }
        }
    }
    RecordProperty("calls", calls);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"1"_s);
}

}  // namespace
