#include "aftersale/screens/cancellation_screen.h"
#include "issued_tickets.h"
#include "logged_in.h"
#include "sales/play_seller.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <tuple>

using namespace vendura;
using namespace vendura::test;

namespace {

ProcedureCall anulaticket(const QString& number, const QString& mode,
                          const QString& user = u"1001"_s) {
    ProcedureCall call{u"ANULATICKET"_s, {}};
    call.in(u"@Nro_Ticket"_s, number)
        .in(u"@xcodigo_vend"_s, u"00012"_s)
        .in(u"@xcodigo_user"_s, user)
        .in(u"@xmodo"_s, mode);
    return call;
}

// Sales point 00012 (seller 1001) sold one ticket at 10:00: 123 for 70 on AAA and 45 for 100 on
// BBB; sales point 00013 sold 20 on AAA 123 too.
class CancellationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
        ASSERT_TRUE(counter.open(db.connectionText(u"00012"_s)).ok());
        ticket = db.newTicket(u"00012"_s);
        sell(u"123"_s, u"AAA"_s, 70, 0);
        sell(u"45"_s, u"BBB"_s, 100, 1);
        ASSERT_EQ(saveTicket(counter, ticket, u"4242"_s, u"170"_s), 0);
        otherTicket = db.newTicket(u"00013"_s);
        db.admin(
            u"INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, "
            u"fecha, hora, monto) VALUES ($1, '00013', '2001', 9, '2026-12-07', '10:00', 20)"_s,
            {otherTicket});
        db.admin(u"UPDATE central.ventas_numero SET vendido = vendido + 20 WHERE numero = '123'"_s);
    }
    void sell(const QString& number, const QString& lottery, int amount, int item) {
        ASSERT_EQ(call(xcreanormal(u"00012"_s, u"1001"_s, number, Money::whole(amount), item,
                                   lottery, ticket))
                      .returnNumber(),
                  0);
    }
    CallAnswer call(const ProcedureCall& c) {
        auto answer = counter.call(c);
        EXPECT_TRUE(answer.ok()) << answer.error().description.toStdString();
        return answer.ok() ? answer.value() : CallAnswer{};
    }
    QString sold() {
        return db.value(
            u"SELECT string_agg(cod_lot || ' ' || numero || ' ' || vendido::float8, ', ' "
            u"ORDER BY cod_lot, numero) FROM central.ventas_numero"_s);
    }
    QString state() {
        return db.value(
            u"SELECT estado || ' ' || anulado || ' ' || coalesce(anulado_en::text, '-') "
            u"|| ' ' || coalesce(anulado_por, '-') FROM central.tickets "
            u"WHERE nroticket = $1"_s,
            {ticket});
    }

    TestDatabase db;
    PqGateway counter{5};
    QString ticket;
    QString otherTicket;
};

TEST_F(CancellationTest, QueryThenCancelGivesTheQuotaBackOnceAndIsAudited) {
    // what the query shows is checked on the screen
    EXPECT_EQ(call(anulaticket(ticket, u"0"_s)).returnNumber(), 0);
    EXPECT_EQ(sold(), u"AAA 123 90, BBB 45* 100"_s);

    db.setClock(u"2026-12-07 10:09:59"_s);
    // typed without its zeros
    EXPECT_EQ(call(anulaticket(QString::number(ticket.toLongLong()), u"1"_s)).returnNumber(), 0);
    EXPECT_EQ(sold(), u"AAA 123 20, BBB 45* 0"_s);  // 00013's 20 stay
    EXPECT_EQ(state(), u"ELI S 2026-12-07 10:09:59 1001"_s);
    EXPECT_EQ(db.auditActions().last(), u"TICKET_ANULADO|00012|1001"_s);
    // the plays stay on the ticket, marked, holding no quota
    EXPECT_EQ(db.value(u"SELECT count(*) FILTER (WHERE anulado AND NOT vigente) || '/' || count(*) "
                       u"FROM central.items_ticket WHERE nticket = $1"_s,
                       {ticket}),
              u"2/2"_s);
    // asked again (checked on the screen) or cancelled again, it gives nothing back twice
    EXPECT_EQ(call(anulaticket(ticket, u"1"_s)).returnNumber(), 13);
    EXPECT_EQ(sold(), u"AAA 123 20, BBB 45* 0"_s);
}

TEST_F(CancellationTest, EveryRefusalAnswersItsCodeAndChangesNothing) {
    const std::vector<std::tuple<const char*, ProcedureCall, int>> cases{
        {"another sales point's ticket, query", anulaticket(otherTicket, u"0"_s), 11},
        {"another sales point's ticket, cancel", anulaticket(otherTicket, u"1"_s), 11},
        {"another sales point's seller", anulaticket(ticket, u"1"_s, u"2001"_s), 11},
        {"no such ticket, query", anulaticket(u"9999999999"_s, u"0"_s), 0},
        {"no such ticket, cancel", anulaticket(u"9999999999"_s, u"1"_s), 1},
        {"letters", anulaticket(u"ABC"_s, u"1"_s), 1},
        {"eleven digits", anulaticket(u"1"_s + ticket, u"1"_s), 1},
        {"no mode", anulaticket(ticket, u""_s), 4},
        {"another mode", anulaticket(ticket, u"2"_s), 4},
        {"a suspended seller", anulaticket(ticket, u"1"_s, u"1003"_s), 14},
        {"a seller without the permission to cancel", anulaticket(ticket, u"1"_s, u"1004"_s), 11},
    };
    db.admin(u"UPDATE central.usuarios SET permisos = $1 WHERE cod_usuario = '1003'"_s,
             {kAllPermissions});
    db.admin(
        u"SELECT admin.crear_usuario('1004', '00012', 'SIN ANULAR', '1234', "
        u"'A.-B.-F2.F4.')"_s);
    const QString before = db.checksum();
    for (const auto& [what, procedure, code] : cases) {
        const CallAnswer a = call(procedure);
        EXPECT_EQ(a.returnNumber(), code) << what;
        EXPECT_TRUE(a.rows.empty()) << what;
        EXPECT_EQ(db.checksum(), before) << what;
    }
    EXPECT_EQ(db.auditActions().filter(u"ANULACION_RECHAZADA"_s).size(), 2);
    EXPECT_EQ(db.auditActions().filter(u"PERMISO_DENEGADO|00012|1004"_s).size(), 1);
}

TEST_F(CancellationTest, TheWindowIsTheSalesPointsAndAClosedDrawEndsItSooner) {
    // minutes set by the central office (-1 leaves them), the clock, BBB's draw closed by hand
    for (const auto& [what, minutes, clock, closeBeta, code] :
         std::initializer_list<std::tuple<const char*, int, const char*, bool, int>>{
             {"within the default ten minutes", -1, "2026-12-07 10:09:59.999999", false, 0},
             {"at ten minutes", -1, "2026-12-07 10:10:00", false, 12},
             {"a longer window", 45, "2026-12-07 10:44:00", false, 0},
             {"no cancellation at all", 0, "2026-12-07 10:00:30", false, 12},
             {"not even in the second of the sale", 0, "2026-12-07 10:00:00", false, 12},
             {"a draw closed by hand", 45, "2026-12-07 10:01:00", true, 12},
             {"a day later", 1440, "2026-12-08 09:00:00", false, 12},
             {"at the draws' closing time", 1440, "2026-12-07 23:00:00", false, 12}}) {
        db.admin(u"DELETE FROM central.sorteos"_s);
        if (minutes >= 0) {
            db.admin(u"SELECT admin.fijar_minutos_anulacion('00012', $1::int)"_s,
                     {QString::number(minutes)});
        }
        if (closeBeta) {
            db.admin(
                u"INSERT INTO central.sorteos (cod_lot, fecha, cerrado) "
                u"VALUES ('BBB', '2026-12-07', true)"_s);
        }
        db.setClock(QString::fromLatin1(clock));
        EXPECT_EQ(call(anulaticket(ticket, u"0"_s)).returnNumber(), code) << what;
        if (code != 0) {
            EXPECT_EQ(call(anulaticket(ticket, u"1"_s)).returnNumber(), code) << what;
        }
    }
    EXPECT_TRUE(state().startsWith(u"ACT N"_s));
    EXPECT_EQ(db.auditActions().filter(u"TIEMPO_ANULACION|00012|"_s).size(), 6);

    // the central office sets it, up to a day
    EXPECT_EQ(db.adminError(u"SELECT admin.fijar_minutos_anulacion('00012', 1441)"_s), u"22023"_s);
}

// Two counters of the sales point press Eliminar on the same ticket while a prize payment holds
// it: both wait on the ticket's lock, one cancels, the other is told it is cancelled already,
// and the quota comes back once.
TEST_F(CancellationTest, TwoCountersCancellingTheSameTicketAtOnceEndInOneCancellation) {
    PqGateway second(5);
    ASSERT_TRUE(second.open(db.connectionText(u"00012"_s)).ok());
    auto payment = connectAs(db, u"postgres"_s);
    ASSERT_EQ(sqlState(payment.get(), u"BEGIN"_s), QString());
    ASSERT_EQ(sqlState(payment.get(), u"SELECT central.ticket_bloqueado('"_s + ticket + u"')"_s),
              QString());

    auto cancelOn = [this](PqGateway& gateway) {
        return std::async(std::launch::async, [&gateway, this] {
            auto answer = gateway.call(anulaticket(ticket, u"1"_s));
            return answer.ok() ? answer.value().returnNumber() : -999;
        });
    };
    std::future<int> first = cancelOn(counter);
    std::future<int> secondAnswer = cancelOn(second);
    db.waitForLockWaiters(2);
    EXPECT_EQ(first.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    ASSERT_EQ(sqlState(payment.get(), u"COMMIT"_s), QString());

    std::vector<int> codes{first.get(), secondAnswer.get()};
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes, (std::vector<int>{0, 13}));
    EXPECT_EQ(sold(), u"AAA 123 20, BBB 45* 0"_s);
    EXPECT_EQ(db.auditActions().filter(u"TICKET_ANULADO"_s).size(), 1);
}

// Form18 of seller 1001 of the sales point that sold the ticket.
class CancellationScreenTest : public CancellationTest {
  protected:
    void SetUp() override {
        CancellationTest::SetUp();
        ASSERT_TRUE(seller.login());
        seller.dialogs.clear();
        form = std::make_unique<CancellationScreen>(seller.link);
        form->show();
        QApplication::setActiveWindow(form.get());
    }
    QLineEdit* text1() { return form->findChild<QLineEdit*>(u"Text1"_s); }
    QString field(const char* name) {
        return form->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    QStringList fields() {
        return {field("Fecha_venta"), field("Hora_venta"), field("Estado_ticket"),
                field("TOTal_TICKET1")};
    }
    // Types a number in Text1 and presses Enter.
    void enter(const QString& number) {
        text1()->clear();
        QTest::keyClicks(text1(), number);
        QTest::keyClick(text1(), Qt::Key_Return);
    }
    void expectToldAndReadyForTheNext(const QString& text) {
        ASSERT_FALSE(seller.dialogs.shown.empty());
        EXPECT_EQ(seller.dialogs.last().text, text);
        EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Information);
        EXPECT_EQ(seller.dialogs.last().title, u"Atención!"_s);
        EXPECT_TRUE(text1()->text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), text1());
    }

    LoggedIn seller{db};
    std::unique_ptr<CancellationScreen> form;
};

TEST_F(CancellationScreenTest, NoKeepsTheTicketAndItsDetailsAndYesCancelsIt) {
    EXPECT_EQ(QApplication::focusWidget(), text1());
    seller.dialogs.answers = {false};
    enter(ticket);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    const DialogRecorder::Shown& asked = seller.dialogs.shown[0];
    EXPECT_TRUE(asked.question);
    EXPECT_EQ(asked.text, u"Desea en realidad anular el ticket?"_s);
    EXPECT_EQ(asked.title, u"Responda!"_s);
    EXPECT_EQ(asked.icon, DialogIcon::Question);
    EXPECT_FALSE(asked.defaultYes);
    EXPECT_EQ(fields(), (QStringList{u"07/12/2026"_s, u"10:00:00"_s, u"Activo"_s, u"170,00"_s}));
    EXPECT_EQ(text1()->text(), ticket);
    EXPECT_TRUE(state().startsWith(u"ACT"_s));

    seller.dialogs.clear();
    enter(ticket);
    ASSERT_EQ(seller.dialogs.shown.size(), 2u);
    EXPECT_TRUE(seller.dialogs.shown[0].question);
    expectToldAndReadyForTheNext(u"El Ticket con el numero "_s + ticket +
                                 u" ha sido eliminado con exito!"_s);
    EXPECT_EQ(fields(), (QStringList{u"07/12/2026"_s, u"10:00:00"_s, u"Anulado"_s, u"170,00"_s}));
    EXPECT_TRUE(state().startsWith(u"ELI"_s));
}

TEST_F(CancellationScreenTest, EveryRefusalHasItsMessageAndAnEmptyFieldNeverReachesTheServer) {
    QTest::keyClick(text1(), Qt::Key_Return);
    expectToldAndReadyForTheNext(u"Debe escribir el serial que aparece en el ticket"_s);
    form->findChild<QPushButton*>(u"Eliminar"_s)->click();
    EXPECT_EQ(seller.dialogs.shown.size(), 2u);
    QTest::keyClicks(text1(), u"ABC"_s);  // the field takes digits only
    QTest::keyClick(text1(), Qt::Key_Return);
    expectToldAndReadyForTheNext(u"Debe escribir el serial que aparece en el ticket"_s);

    const QString prefix = u"El Ticket con el numero "_s;
    enter(otherTicket);
    expectToldAndReadyForTheNext(prefix + otherTicket + u" no fue vendido por otro Vendedor!"_s);
    enter(u"9999999999"_s);
    expectToldAndReadyForTheNext(u"El ticket no existe"_s);

    db.setClock(u"2026-12-07 10:10:01"_s);
    enter(ticket);
    expectToldAndReadyForTheNext(
        prefix + ticket + u" no puede ser eliminado porque excedio el tiempo limite para ello!"_s);
    db.setClock(u"2026-12-07 10:05:00"_s);

    // another counter of the sales point cancels it: asked again it shows its details and says
    // so, asking nothing
    ASSERT_EQ(call(anulaticket(ticket, u"1"_s)).returnNumber(), 0);
    seller.dialogs.clear();
    enter(ticket);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    expectToldAndReadyForTheNext(prefix + ticket + u" ya esta anulado!"_s);
    EXPECT_EQ(field("Estado_ticket"), u"Anulado"_s);

    // what a counter that lost the race to cancel is told, in either mode; codes without a text
    for (bool cancelling : {true, false}) {
        EXPECT_EQ(cancellationMessage(u"13"_s, ticket, cancelling),
                  prefix + ticket + u" ya ha sido eliminado!"_s);
    }
    for (const auto& [code, cancelling] : std::initializer_list<std::pair<QString, bool>>{
             {u"50"_s, true}, {u"14"_s, true}, {u"4"_s, false}})
        EXPECT_TRUE(cancellationMessage(code, ticket, cancelling).isEmpty()) << code.toStdString();
}

}  // namespace
