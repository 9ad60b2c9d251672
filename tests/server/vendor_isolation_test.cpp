#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "session/parameters.h"
#include "session/session.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace vendura;
using vendura::test::TestDatabase;

namespace {

ProcedureCall grabtick(const QString& vendor, const QString& user, const QString& total,
                       const QString& ticket) {
    ProcedureCall call{u"xgrabtick"_s, {}, 900};
    call.in(u"@xcodigo_vend"_s, vendor)
        .in(u"@xcodigo_user"_s, user)
        .in(u"@xseriald"_s, u"1234567"_s)
        .out(u"@xfecha_ticket"_s, QString())
        .out(u"@xhora_ticket"_s, QString())
        .in(u"@xestado_ticket"_s, u"ACT"_s)
        .decimal(u"@xmonto_ticket"_s, total)
        .in(u"@xanulado"_s, u"N"_s)
        .in(u"@xnroticktmp"_s, ticket)
        .out(u"@xnroticket"_s, ticket);
    return call;
}

ProcedureCall login(const QString& user, const QString& password) {
    ProcedureCall call{u"xVLDUSRT"_s, {}};
    call.out(u"@xmodo"_s, u"0"_s).in(u"@xusuario"_s, user).in(u"@xclave"_s, password);
    return call;
}

// A call of the ticket list, the reprints or the cancellation, with its parameters in order.
ProcedureCall positional(const QString& procedure, const QStringList& names,
                         const QStringList& values) {
    ProcedureCall call{procedure, {}};
    for (qsizetype i = 0; i < names.size(); ++i) call.in(names[i], values[i]);
    return call;
}

ProcedureCall anulaticket(const QString& ticket, const QString& vendor, const QString& user,
                          const QString& mode) {
    return positional(u"ANULATICKET"_s,
                      {u"@Nro_Ticket"_s, u"@xcodigo_vend"_s, u"@xcodigo_user"_s, u"@xmodo"_s},
                      {ticket, vendor, user, mode});
}

ProcedureCall ofTicket(const QString& procedure, const QString& vendor, const QString& user,
                       const QString& ticket) {
    return positional(procedure, {u"@xcodigo_vend"_s, u"@xcodigo_user"_s, u"@xnroticket"_s},
                      {vendor, user, ticket});
}

ProcedureCall vendorOnly(const QString& procedure, const QString& vendor,
                         const QString& ticket = {}) {
    ProcedureCall call{procedure, {}};
    call.in(u"@xcodigo_vend"_s, vendor);
    if (!ticket.isEmpty()) call.in(u"@xnroticket"_s, ticket);
    return call;
}

// Sales point 00012 (seller 1001) has an issued ticket (AAA 123) and an open one (AAA 456);
// sales point 00013 (seller 2001) tries to reach them with its own login.
class VendorIsolationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
        ASSERT_TRUE(own.open(db.connectionText(u"00012"_s)).ok());
        ASSERT_TRUE(other.open(db.connectionText(u"00013"_s)).ok());
        issued = db.newTicket(u"00012"_s);
        ASSERT_EQ(sell(issued, u"123"_s).returnNumber(), 0);
        ASSERT_EQ(own.call(grabtick(u"00012"_s, u"1001"_s, u"70"_s, issued)).value().returnNumber(),
                  0);
        open = db.newTicket(u"00012"_s);
        ASSERT_EQ(sell(open, u"456"_s).returnNumber(), 0);
    }
    CallAnswer sell(const QString& ticket, const QString& number) {
        return own
            .call(xcreanormal(u"00012"_s, u"1001"_s, number, Money::whole(70), 0, u"AAA"_s, ticket))
            .value();
    }

    TestDatabase db;
    PqGateway own{5};
    PqGateway other{5};
    QString issued;
    QString open;
};

TEST_F(VendorIsolationTest, AnotherSalesPointsLoginReachesNothingAndEveryAttemptIsAudited) {
    Session seller;
    seller.CodVendedor = u"00012"_s;
    seller.Usuario = u"1001"_s;
    TerminalParameters parameters = parametersFromRow(own.call(ver_usuario(seller)).value().rows);
    applySavingRules(parameters);
    struct Attempt {
        const char* what;
        ProcedureCall call;
        int code;
    };
    const std::vector<Attempt> attempts{
        {"issue its open ticket", grabtick(u"00012"_s, u"1001"_s, u"70"_s, open), -1},
        {"void it with a wrong total", grabtick(u"00012"_s, u"1001"_s, u"1"_s, open), -1},
        {"abandon its tickets through an unknown number",
         grabtick(u"00012"_s, u"1001"_s, u"70"_s, u"0000000001"_s), -1},
        {"issue it as itself", grabtick(u"00013"_s, u"2001"_s, u"70"_s, open), 1},
        {"issue it as itself with another's user", grabtick(u"00013"_s, u"1001"_s, u"70"_s, open),
         -1},
        {"book on its temporary ticket",
         xcreanormal(u"00012"_s, u"1001"_s, u"555"_s, Money::whole(5), 1, u"AAA"_s, open), 73},
        {"book on it as itself",
         xcreanormal(u"00013"_s, u"2001"_s, u"555"_s, Money::whole(5), 1, u"AAA"_s, open), 73},
        {"take a new number for it", vendorOnly(u"nregresaticket"_s, u"00012"_s), -1},
        {"mark its ticket printed", vendorOnly(u"xmarcaimpreso"_s, u"00012"_s, issued), 1},
        {"log in one of its sellers", login(u"1001"_s, u"1234"_s), 55},
        {"list its tickets",
         positional(u"dsptickets"_s, {u"@xcodigo_vend"_s, u"@xfecha"_s, u"@xmodo"_s},
                    {u"00012"_s, u"07/12/2026"_s, u"0"_s}),
         -1},
        {"show its ticket",
         positional(u"xmuestraticket"_s,
                    {u"@xnroticket"_s, u"@xcodigo_vend"_s, u"@xfecha"_s, u"@xmodo"_s},
                    {issued, u"00012"_s, u"07/12/2026"_s, u"0"_s}),
         -1},
        {"show it as itself",
         positional(u"xmuestraticket"_s,
                    {u"@xnroticket"_s, u"@xcodigo_vend"_s, u"@xfecha"_s, u"@xmodo"_s},
                    {issued, u"00013"_s, u"07/12/2026"_s, u"0"_s}),
         0},
        {"cancel its ticket", anulaticket(issued, u"00012"_s, u"1001"_s, u"1"_s), 11},
        {"cancel it as itself", anulaticket(issued, u"00013"_s, u"2001"_s, u"1"_s), 11},
        {"look it up as itself", anulaticket(issued, u"00013"_s, u"2001"_s, u"0"_s), 11},
        {"take the serial of its unprinted ticket",
         ofTicket(u"xticketoriginal"_s, u"00012"_s, u"1001"_s, issued), -1},
        {"take it as itself", ofTicket(u"xticketoriginal"_s, u"00013"_s, u"2001"_s, issued), 1},
        {"count a reprint of it", ofTicket(u"xreimpresion"_s, u"00012"_s, u"1001"_s, issued), -1},
        {"count it as itself", ofTicket(u"xreimpresion"_s, u"00013"_s, u"2001"_s, issued), 1},
        {"see its seller's parameters", ver_usuario(seller), 1},
        {"save its seller's parameters", grabaParametros(seller, parameters), 1},
    };
    const QString before = db.checksum();
    for (const Attempt& a : attempts) {
        auto answer = other.call(a.call);
        ASSERT_TRUE(answer.ok()) << a.what << ": " << answer.error().description.toStdString();
        EXPECT_EQ(answer.value().returnNumber(), a.code) << a.what;
        EXPECT_TRUE(answer.value().rows.empty() ||
                    answer.value().rows.text(0, u"status"_s) == u"9"_s)
            << a.what;
        EXPECT_EQ(db.checksum(), before) << a.what;
    }
    const QString account = db.account(u"00013"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.auditoria "
                       u"WHERE accion = 'CUENTA_RECHAZADA' AND cuenta = $1"_s,
                       {account}),
              u"15"_s);
    // the owner still issues its ticket as it was, and reaches the other one
    EXPECT_EQ(own.call(grabtick(u"00012"_s, u"1001"_s, u"70"_s, open)).value().returnNumber(), 0);
    EXPECT_EQ(own.call(ofTicket(u"xticketoriginal"_s, u"00012"_s, u"1001"_s, issued))
                  .value()
                  .rows.text(0, u"serial"_s),
              u"1234567"_s);
}

TEST_F(VendorIsolationTest, TheAuditTrailRecordsTheDaysEventsAndCannotBeRewritten) {
    ASSERT_EQ(own.call(login(u"1001"_s, u"1234"_s)).value().rows.size(), 1);
    EXPECT_EQ(own.call(grabtick(u"00012"_s, u"1001"_s, u"5"_s, open)).value().returnNumber(), 88);
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
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(own.call(login(u"1001"_s, u"9999"_s)).value().rows.empty());
    }
    auto locked = own.call(login(u"1001"_s, u"1234"_s)).value();
    EXPECT_EQ(locked.returnNumber(), 0);
    EXPECT_TRUE(locked.rows.empty());  // answered as a wrong password
    EXPECT_EQ(db.auditActions().last(), u"INGRESO_BLOQUEADO|00012|1001"_s);

    db.setClock(u"2026-12-07 10:14:00"_s);
    EXPECT_TRUE(own.call(login(u"1001"_s, u"1234"_s)).value().rows.empty());
    db.setClock(u"2026-12-07 10:16:00"_s);
    EXPECT_EQ(own.call(login(u"1001"_s, u"1234"_s)).value().rows.size(), 1);
}

}  // namespace
