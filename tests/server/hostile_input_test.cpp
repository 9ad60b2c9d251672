#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace vendura;
using vendura::test::TestDatabase;

namespace {

struct Argument {
    QString name;
    QString type;
    bool inout = false;
};

struct Procedure {
    QString name;
    std::vector<Argument> arguments;  // return_value and rs left out
};

// Every procedure a sales point may call, as the catalogue describes it: one added later is
// swept without touching this test.
std::vector<Procedure> catalogue(const TestDatabase& db) {
    std::vector<Procedure> out;
    for (const QStringList& row : db.rows(
             u"SELECT p.proname, a.name, format_type(a.type, NULL), a.mode "
             u"FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace "
             u"CROSS JOIN LATERAL unnest(p.proargnames, p.proallargtypes, p.proargmodes::text[]) "
             u"    WITH ORDINALITY AS a(name, type, mode, k) "
             u"WHERE n.nspname = 'public' AND p.prokind = 'p' ORDER BY p.proname, a.k"_s)) {
        if (out.empty() || out.back().name != row[0]) out.push_back({row[0], {}});
        if (row[1] == u"return_value"_s || row[1] == u"rs"_s) continue;
        out.back().arguments.push_back({row[1], row[2], row[3] == u"b"_s});
    }
    return out;
}

// A call that names this sales point's vendor and seller and nothing else: every other argument
// is empty (zero where the type is a number).
QString baseline(const Argument& a) {
    if (a.name.contains(u"vend"_s)) return u"00012"_s;
    if (a.name.contains(u"usu"_s) || a.name.contains(u"user"_s)) return u"1001"_s;
    if (a.name.contains(u"item"_s)) return u"0"_s;
    if (a.type == u"numeric"_s || a.type == u"integer"_s) return u"0"_s;
    return QString();
}

ProcedureCall build(const Procedure& p, size_t hostile, const FieldValue& value) {
    ProcedureCall call{p.name, {}};
    for (size_t i = 0; i < p.arguments.size(); ++i) {
        const Argument& a = p.arguments[i];
        const FieldValue v = i == hostile ? value : FieldValue(baseline(a));
        call.parameters.push_back({a.name, ParamType::VarChar,
                                   a.inout ? ParamDirection::InputOutput : ParamDirection::Input, 0,
                                   v});
    }
    return call;
}

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
    db.newTicket(u"00013"_s);

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
    };
    const std::vector<Procedure> procedures = catalogue(db);
    ASSERT_GE(procedures.size(), 9u);
    const QString before = db.checksum();
    int calls = 0;
    for (const Procedure& p : procedures) {
        for (size_t arg = 0; arg < std::max<size_t>(p.arguments.size(), 1); ++arg) {
            for (const FieldValue& value : hostile) {
                const ProcedureCall call = build(p, arg, value);
                auto answer = gateway.call(call);
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
