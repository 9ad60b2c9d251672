#include "catalogue.h"
#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <QMap>

#include <algorithm>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// The arguments of xgrabtick in order: the serial 1234567, the date and time left to the server.
QStringList grabtick(const QString& vendor, const QString& user, const QString& total,
                     const QString& ticket) {
    return {vendor, user, u"1234567"_s, {}, {}, u"ACT"_s, total, u"N"_s, ticket, ticket};
}

// Sales point 00012 (seller 1001) has an issued ticket (AAA 123) and an open one (AAA 456);
// sales point 00013 (seller 2001) reaches for them with its own login.
class VendorIsolationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
        ASSERT_TRUE(own.open(db.connectionText(u"00012"_s)).ok());
        ASSERT_TRUE(other.open(db.connectionText(u"00013"_s)).ok());
        issued = db.newTicket(u"00012"_s);
        ASSERT_EQ(sell(issued, u"123"_s), 0);
        ASSERT_EQ(code(own, u"xgrabtick"_s, grabtick(u"00012"_s, u"1001"_s, u"70"_s, issued)), 0);
        open = db.newTicket(u"00012"_s);
        ASSERT_EQ(sell(open, u"456"_s), 0);
    }
    int sell(const QString& ticket, const QString& number) {
        return own
            .call(xcreanormal(u"00012"_s, u"1001"_s, number, Money::whole(70), 0, u"AAA"_s, ticket))
            .value()
            .returnNumber();
    }
    static int code(PqGateway& link, const QString& procedure, const QStringList& args) {
        return link.callPositional(procedure, args).value().returnNumber();
    }
    int login(const QString& password) {
        auto answer = own.callPositional(u"xVLDUSRT"_s, {u"0"_s, u"1001"_s, password});
        return answer ? answer.value().rows.size() : -1;
    }

    TestDatabase db;
    PqGateway own{5};
    PqGateway other{5};
    QString issued;
    QString open;
};

// Through 00013's login, every procedure called with 00012's vendor or seller is refused with
// an audit row, answers no row and changes nothing; called with 00013's own codes on 00012's
// tickets it changes nothing and answers no row either.
TEST_F(VendorIsolationTest, AnotherSalesPointsLoginReachesNothingOfItThroughAnyProcedure) {
    // the refusals the counter turns into its messages
    const QMap<QString, int> refusal{
        {u"xgrabtick"_s, -1},      {u"xcreanormal"_s, 73}, {u"nregresaticket"_s, -1},
        {u"xmarcaimpreso"_s, 1},   {u"xvldusrt"_s, 55},    {u"dsptickets"_s, -1},
        {u"xmuestraticket"_s, -1}, {u"anulaticket"_s, 11}, {u"xticketoriginal"_s, -1},
        {u"xreimpresion"_s, -1},   {u"ver_usuario"_s, 1},  {u"graba_parametros_usuario"_s, 1},
    };
    const std::pair<QString, QString> codes[] = {{u"00012"_s, u"1001"_s},
                                                 {u"00013"_s, u"1001"_s},
                                                 {u"00012"_s, u"2001"_s},
                                                 {u"00013"_s, u"2001"_s}};
    const QString before = db.checksum();
    int refused = 0;
    for (const Procedure& p : catalogue(db)) {
        auto has = [&](auto what) {
            return std::any_of(p.arguments.begin(), p.arguments.end(), what);
        };
        const bool ticketed = has([](const Argument& a) { return a.name.contains(u"tick"_s); });
        const QStringList tickets = ticketed ? QStringList{open, issued} : QStringList{open};
        for (const auto& [vendor, user] : codes) {
            const bool foreign =
                (has(isVendor) && vendor == u"00012"_s) || (has(isUser) && user == u"1001"_s);
            if (!foreign && !ticketed) continue;
            for (const QString& ticket : tickets) {
                const std::string where = (p.name + u' ' + vendor + u'/' + user + u' ' +
                                           (ticket == open ? u"open"_s : u"issued"_s))
                                              .toStdString();
                const int audits = int(db.auditActions().size());
                auto answer = other.call(callOf(p, [&](size_t, const Argument& a) -> FieldValue {
                    return a.name.contains(u"tick"_s) ? ticket : baseline(a, vendor, user);
                }));
                ASSERT_TRUE(answer || !foreign) << where;
                EXPECT_EQ(db.checksum(), before) << where;
                if (!answer) continue;  // refused whole over a value of 00013's own
                EXPECT_TRUE(answer.value().rows.empty() ||
                            answer.value().rows.text(0, u"status"_s) == u"9"_s)
                    << where;
                if (!foreign) continue;
                ++refused;
                const int number = answer.value().returnNumber();
                EXPECT_EQ(number, refusal.value(p.name, number)) << where;
                const QStringList audit = db.auditActions().mid(audits);
                EXPECT_TRUE(audit.size() == 1 && audit[0].startsWith(u"CUENTA_RECHAZADA|"_s))
                    << where << ": " << audit.join(u',').toStdString();
            }
        }
    }
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.auditoria "
                       u"WHERE accion = 'CUENTA_RECHAZADA' AND cuenta = $1"_s,
                       {db.account(u"00013"_s)}),
              QString::number(refused));
    // the owner still issues its ticket as it was, and reaches the other one
    EXPECT_EQ(code(own, u"xgrabtick"_s, grabtick(u"00012"_s, u"1001"_s, u"70"_s, open)), 0);
    EXPECT_EQ(own.callPositional(u"xticketoriginal"_s, {u"00012"_s, u"1001"_s, issued})
                  .value()
                  .rows.text(0, u"serial"_s),
              u"1234567"_s);
}

TEST_F(VendorIsolationTest, TheAuditTrailRecordsTheDaysEventsAndCannotBeRewritten) {
    ASSERT_EQ(login(u"1234"_s), 1);
    EXPECT_EQ(code(own, u"xgrabtick"_s, grabtick(u"00012"_s, u"1001"_s, u"5"_s, open)), 88);
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

TEST_F(VendorIsolationTest, FiveWrongPasswordsLockTheSellerOutForFifteenMinutes) {
    for (int i = 0; i < 5; ++i) EXPECT_EQ(login(u"9999"_s), 0);
    EXPECT_EQ(login(u"1234"_s), 0);  // answered as a wrong password
    EXPECT_EQ(db.auditActions().last(), u"INGRESO_BLOQUEADO|00012|1001"_s);
    db.setClock(u"2026-12-07 10:14:00"_s);
    EXPECT_EQ(login(u"1234"_s), 0);
    db.setClock(u"2026-12-07 10:16:00"_s);
    EXPECT_EQ(login(u"1234"_s), 1);
}

}  // namespace
