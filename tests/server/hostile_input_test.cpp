#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace vendura;
using namespace vendura::test;

namespace {

struct Argument {
    QString name;
    QString type;
    bool inout = false;
    bool vendor() const { return name.contains(u"vend"_s) || name.contains(u"codven"_s); }
    bool user() const { return name.contains(u"usu"_s) || name.contains(u"user"_s); }
    bool ticket() const { return name.contains(u"tick"_s); }
};

struct Procedure {
    QString name;
    std::vector<Argument> arguments;  // return_value and rs left out
    bool has(bool (Argument::*what)() const) const {
        return std::any_of(arguments.begin(), arguments.end(),
                           [&](const Argument& a) { return (a.*what)(); });
    }
};

// Every procedure a sales point may call, as the catalogue describes it: one added later is
// swept without touching these tests.
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

// An argument of a call that names the vendor and seller given and nothing else: every other
// argument empty, zero where it is a number.
QString baseline(const Argument& a, const QString& vendor = u"00012"_s,
                 const QString& user = u"1001"_s) {
    if (a.vendor()) return vendor;
    if (a.user()) return user;
    const bool number = a.type == u"numeric"_s || a.type == u"integer"_s;
    return number || a.name.contains(u"item"_s) ? u"0"_s : QString();
}

ProcedureCall callOf(const Procedure& p,
                     const std::function<FieldValue(size_t, const Argument&)>& value) {
    ProcedureCall call{p.name, {}};
    for (size_t i = 0; i < p.arguments.size(); ++i) {
        const Argument& a = p.arguments[i];
        call.parameters.push_back({a.name, ParamType::VarChar,
                                   a.inout ? ParamDirection::InputOutput : ParamDirection::Input, 0,
                                   value(i, a)});
    }
    return call;
}

// The arguments of xgrabtick in order: the serial 1234567, the date and time left to the server.
QStringList grabtick(const QString& total, const QString& ticket) {
    return {u"00012"_s, u"1001"_s, u"1234567"_s, {}, {}, u"ACT"_s, total, u"N"_s, ticket, ticket};
}

// How a counter reaches the server: logged in as its sales point's own login, or through the
// connection pooler, on the login every counter there shares, with a session of its own.
enum class Route { OwnLogin, Pooler };

// Sales point 00012 (seller 1001) has an issued ticket (AAA 123) and an open one (AAA 456);
// sales point 00013 (seller 2001) has an open ticket of its own.
class SalesPoints : public ::testing::TestWithParam<Route> {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
        ASSERT_TRUE(own.open(textOf(u"00012"_s)).ok());
        ASSERT_TRUE(other.open(textOf(u"00013"_s)).ok());
        for (const auto& [ticket, number] : {std::pair{&issued, u"123"_s}, {&open, u"456"_s}}) {
            *ticket = db.newTicket(u"00012"_s);
            ASSERT_EQ(own.call(xcreanormal(u"00012"_s, u"1001"_s, number, Money::whole(70), 0,
                                           u"AAA"_s, *ticket))
                          .value()
                          .returnNumber(),
                      0);
            if (ticket == &issued) {
                ASSERT_EQ(grab(u"70"_s, issued), 0);
            }
        }
        theirs = db.newTicket(u"00013"_s);
    }
    int grab(const QString& total, const QString& ticket) {
        return own.callPositional(u"xgrabtick"_s, grabtick(total, ticket)).value().returnNumber();
    }
    QString textOf(const QString& vendor) const {
        return GetParam() == Route::Pooler ? db.pooledConnectionText(vendor)
                                           : db.connectionText(vendor);
    }
    int login(const QString& password) {
        auto answer = own.callPositional(u"xVLDUSRT"_s, {u"0"_s, u"1001"_s, password});
        return answer ? answer.value().rows.size() : -1;
    }

    TestDatabase db;
    PqGateway own{5};
    PqGateway other{5};
    QString issued, open, theirs;
};

class HostileInputTest : public SalesPoints {};
class VendorIsolationTest : public SalesPoints {};

// Given the own vendor and seller and empty or zero elsewhere, with one argument hostile.
TEST_P(HostileInputTest, EveryProcedureRefusesWhatASalesPointCouldSendItAndChangesNothing) {
    std::vector<FieldValue> hostile{std::nullopt, theirs, QString(10000, u'9')};
    for (const char* v :
         {"", "abc", "-1", "1000000000000", "31/02/2026", "00013", "V-1\x1b[2J\r",
          "x'; DROP TABLE central.tickets; --", "SELECT cod_vendedor FROM central.usuarios"}) {
        hostile.push_back(QString::fromLatin1(v));
    }
    const std::vector<Procedure> procedures = catalogue(db);
    ASSERT_GE(procedures.size(), 40u);
    const QString before = db.checksum();
    for (const Procedure& p : procedures) {
        for (size_t arg = 0; arg < std::max<size_t>(p.arguments.size(), 1); ++arg) {
            for (const FieldValue& value : hostile) {
                auto answer = own.call(callOf(p, [&](size_t i, const Argument& a) {
                    return i == arg ? value : FieldValue(baseline(a));
                }));
                const std::string where =
                    (p.name + u' ' + (p.arguments.empty() ? QString() : p.arguments[arg].name) +
                     u'=' + value.value_or(u"NULL"_s).left(40))
                        .toStdString();
                // a raised error is an answer; a lost connection is a crashed backend
                ASSERT_TRUE(answer ? answer.value().returnValue.has_value()
                                   : answer.error().number == db_error::kServerError)
                    << where << ": " << (answer ? "" : answer.error().description.toStdString());
                ASSERT_EQ(db.checksum(), before) << where;
            }
        }
    }
}

// Through 00013's login, every procedure called with 00012's vendor or seller is refused with
// an audit row, answers no row and changes nothing; called with 00013's own codes on 00012's
// tickets it changes nothing and answers no row either.
TEST_P(VendorIsolationTest, AnotherSalesPointsLoginReachesNothingOfItThroughAnyProcedure) {
    const QString before = db.checksum();
    for (const Procedure& p : catalogue(db)) {
        const bool ticketed = p.has(&Argument::ticket);
        for (const QString& vendor : {u"00012"_s, u"00013"_s}) {
            for (const QString& user : {u"1001"_s, u"2001"_s}) {
                const bool foreign = (p.has(&Argument::vendor) && vendor == u"00012"_s) ||
                                     (p.has(&Argument::user) && user == u"1001"_s);
                if (!foreign && !ticketed) continue;
                for (const QString& ticket : {open, issued}) {
                    const std::string where =
                        (p.name + u' ' + vendor + u'/' + user + u' ' + ticket).toStdString();
                    const int audits = int(db.auditActions().size());
                    auto answer = other.call(callOf(p, [&](size_t, const Argument& a) {
                        return FieldValue(a.ticket() ? ticket : baseline(a, vendor, user));
                    }));
                    ASSERT_TRUE(answer || !foreign) << where;
                    EXPECT_EQ(db.checksum(), before) << where;
                    if (!answer) continue;  // refused whole over a value of 00013's own
                    EXPECT_TRUE(answer.value().rows.empty() ||
                                answer.value().rows.text(0, u"status"_s) == u"9"_s)
                        << where;
                    if (!foreign) continue;
                    const QStringList audit = db.auditActions().mid(audits);
                    EXPECT_TRUE(audit.size() == 1 && audit[0].startsWith(u"CUENTA_RECHAZADA|"_s))
                        << where << ": " << audit.join(u',').toStdString();
                }
            }
        }
    }
}

// A plain straight play, the kind booked in compiled code, sells only for the vendor of the
// login it comes through, by an active seller of that vendor, while the vendor is active.
TEST_P(VendorIsolationTest, APlayBooksOnlyForTheLoginsOwnActiveSellerAndVendor) {
    struct Case {
        const char* what;
        PqGateway* through;
        QString vendor, user, ticket;
        const char* before;  // the office's change first, if any
        bool sells;
    };
    const Case cases[] = {
        {"another login with 00012's codes", &other, u"00012"_s, u"1001"_s, open, nullptr, false},
        {"another login with its own codes", &other, u"00013"_s, u"2001"_s, open, nullptr, false},
        {"another vendor's seller", &own, u"00012"_s, u"2001"_s, open, nullptr, false},
        {"an inactive seller", &own, u"00012"_s, u"1002"_s, open, nullptr, false},
        {"a suspended seller", &own, u"00012"_s, u"1003"_s, open, nullptr, false},
        {"an issued ticket", &own, u"00012"_s, u"1001"_s, issued, nullptr, false},
        {"a suspended vendor", &own, u"00012"_s, u"1001"_s, open,
         "UPDATE central.vendedores SET estado = 'S' WHERE cod_vendedor = '00012'", false},
        {"its own active seller", &own, u"00012"_s, u"1001"_s, open,
         "UPDATE central.vendedores SET estado = 'A' WHERE cod_vendedor = '00012'", true},
    };
    for (const Case& c : cases) {
        if (c.before) db.admin(QString::fromLatin1(c.before));
        const QString before = db.checksum();
        auto answer = c.through->call(
            xcreanormal(c.vendor, c.user, u"789"_s, Money::whole(5), 1, u"AAA"_s, c.ticket));
        ASSERT_TRUE(answer) << c.what << ": " << answer.error().description.toStdString();
        EXPECT_EQ(answer.value().returnNumber() == 0, c.sells) << c.what;
        EXPECT_EQ(db.checksum() != before, c.sells) << c.what;
        for (int r = 0; r < answer.value().rows.size(); ++r)
            EXPECT_EQ(answer.value().rows.text(r, u"status"_s), u"9"_s) << c.what;
    }
}

TEST_P(VendorIsolationTest, TheAuditTrailRecordsTheDaysEventsAndCannotBeRewritten) {
    ASSERT_EQ(login(u"1234"_s), 1);
    EXPECT_EQ(grab(u"5"_s, open), 88);
    const QStringList actions = db.auditActions();
    EXPECT_EQ(actions.mid(actions.size() - 3),
              (QStringList{u"TICKET_EMITIDO|00012|1001"_s, u"INGRESO|00012|1001"_s,
                           u"TICKET_INVALIDO|00012|1001"_s}));
    EXPECT_EQ(db.value(u"SELECT cuenta FROM central.auditoria ORDER BY id DESC LIMIT 1"_s),
              db.account(u"00012"_s));
    // not even the owner of the table rewrites it
    for (const char* sql : {"UPDATE central.auditoria SET accion = 'NADA'",
                            "DELETE FROM central.auditoria", "TRUNCATE central.auditoria"}) {
        EXPECT_EQ(db.adminError(QString::fromLatin1(sql)), u"42501"_s) << sql;
    }
    EXPECT_EQ(db.auditActions(), actions);
}

TEST_P(VendorIsolationTest, FiveWrongPasswordsLockTheSellerOutForFifteenMinutes) {
    for (int i = 0; i < 5; ++i) EXPECT_EQ(login(u"9999"_s), 0);
    EXPECT_EQ(login(u"1234"_s), 0);  // answered as a wrong password
    EXPECT_EQ(db.auditActions().last(), u"INGRESO_BLOQUEADO|00012|1001"_s);
    db.setClock(u"2026-12-07 10:14:00"_s);
    EXPECT_EQ(login(u"1234"_s), 0);
    db.setClock(u"2026-12-07 10:16:00"_s);
    EXPECT_EQ(login(u"1234"_s), 1);
}

std::string routeName(const ::testing::TestParamInfo<Route>& info) {
    return info.param == Route::Pooler ? "Pooler" : "OwnLogin";
}

INSTANTIATE_TEST_SUITE_P(Routes, HostileInputTest,
                         ::testing::Values(Route::OwnLogin, Route::Pooler), routeName);
INSTANTIATE_TEST_SUITE_P(Routes, VendorIsolationTest,
                         ::testing::Values(Route::OwnLogin, Route::Pooler), routeName);

}  // namespace
