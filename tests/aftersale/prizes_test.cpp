#include "aftersale/prize_payment.h"
#include "aftersale/screens/payment_screen.h"
#include "aftersale/screens/results_screen.h"
#include "printing_counter.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <latch>
#include <thread>

using namespace vendura;
using namespace vendura::test;

namespace {

const QString kYesterday = u"2026-12-06"_s;

struct Answer {
    QString code;
    QString premio;
};

// Mode "0" looks the prize up, "1" pays it.
Answer pagaticket(PqGateway& gateway, const QString& serial, const QString& mode,
                  const QString& number, const QString& vendor = u"00012"_s,
                  const QString& user = u"1001"_s) {
    auto answer =
        gateway.callPositional(u"PAGATICKETnew"_s, {serial, vendor, user, mode, number, {}});
    EXPECT_TRUE(answer.ok()) << (answer ? "" : answer.error().description.toStdString());
    if (!answer) return {};
    return {answer.value().returnText(), answer.value().rows.text(0, u"montopremio"_s)};
}

// The counter's own connection beside the seller's; another sales point, 00013, sells too.
class PrizePaymentTest : public PrintingCounter {
  protected:
    PrizePaymentTest() {
        db.addVendor(u"00013"_s, u"2001"_s);
        EXPECT_TRUE(gateway.open(db.connectionText()).ok());
    }
    // Twenty tickets of yesterday, each winning 600 on AAA 123, all with one serial.
    QStringList winners(int first, const QString& serial) {
        enterResult(db, u"AAA"_s, kYesterday, u"123"_s);
        QStringList numbers;
        for (int i = 0; i < 20; ++i) {
            numbers << issueTicket(db, QString::number(first + i), serial, kYesterday,
                                   u"AAA 123 1"_s);
        }
        return numbers;
    }

    PqGateway gateway{5};
};

// What a ticket sold on AAA (yesterday, unless said) wins once AAA's results are in, and what is
// paid on it.
TEST_F(PrizePaymentTest, PrizeIsAmountSoldTimesTheMultiplierOfEachWinningItem) {
    struct Case {
        const char* name;
        const char* items;
        const char* draw;
        const char* code;
        const char* premio;
        const char* day = "2026-12-06";
    };
    int n = 100;
    for (const Case& c : std::initializer_list<Case>{
             {"triple on the first prize", "AAA 123 2", "123", "0", "1200.00"},
             {"triple on the second prize", "AAA 456 1.5", "123 456", "0", "150.00"},
             {"triple on the third prize", "AAA 789 1", "123 456 789", "0", "50.00"},
             {"first prize before the second", "AAA 123 1", "123 123", "0", "600.00"},
             {"terminal on the last two digits", "AAA 23* 3", "123", "0", "180.00"},
             {"one digit on the last digit", "AAA 3** 5", "123", "0", "30.00"},
             {"special play with its variant", "AAA 777 0.5 1", "123 - - 777", "0", "500.00"},
             {"special variant without a payout", "AAA 777 1 2", "123 - - 777", "3", "0.00"},
             {"special play on the first prize only", "AAA 123 1 1", "123 - - 777", "3", "0.00"},
             {"no win", "AAA 124 1; AAA 24* 1", "123", "3", "0.00"},
             {"triple, terminal and digit add up", "AAA 123 1; AAA 23* 1; AAA 3** 1; AAA 999 4",
              "123", "0", "666.00"},
             {"a draw still without results", "AAA 123 1; BBB 1** 1", "123", "3", "0.00"},
             {"a prize rounds to the cent", "AAA 3** 0.001", "123", "0", "0.01"},
             // paid for 3 days after the draw: the 4th is the last day, the 5th is late
             {"the last day", "AAA 123 1", "123", "0", "600.00", "2026-12-04"},
             {"a day late", "AAA 123 1", "123", "7", "600.00", "2026-12-02"}}) {
        SCOPED_TRACE(c.name);
        // each case on a lottery of its own, paying as AAA does
        const QString lot = u"C%1"_s.arg(++n % 100, 2, 10, QChar(u'0'));
        db.addLottery(lot, lot, u"23:00"_s);
        db.admin(
            u"INSERT INTO central.tabla_pagos SELECT $1, tipo, variante, multiplicador, desde "
            u"FROM central.tabla_pagos WHERE cod_lot = 'AAA'"_s,
            {lot});
        const QString number =
            issueTicket(db, QString::number(n), u"555"_s, QString::fromLatin1(c.day),
                        QString::fromLatin1(c.items).replace(u"AAA"_s, lot));
        enterResult(db, lot, QString::fromLatin1(c.day), QString::fromLatin1(c.draw));
        const Answer a = pagaticket(gateway, u"555"_s, u"1"_s, number);
        EXPECT_EQ(a.code + u" "_s + a.premio,
                  QString::fromLatin1(c.code) + u" "_s + QLatin1String(c.premio));
    }
    // only the prizes answered "0" were paid
    EXPECT_EQ(db.value(u"SELECT count(*) || ' ' || sum(monto) FROM central.pagos"_s),
              u"10 3976.01"_s);
}

TEST_F(PrizePaymentTest, NumberAndSerialMustBothBeThoseOfATicketOfThisSalesPoint) {
    enterResult(db, u"AAA"_s, kYesterday, u"123"_s);
    const QString own = issueTicket(db, u"401"_s, u"777"_s, kYesterday, u"AAA 123 1"_s);
    const QString other =
        issueTicket(db, u"402"_s, u"888"_s, kYesterday, u"AAA 123 1"_s, u"00013"_s, u"2001"_s);
    const QString before = db.checksum();
    const std::vector<std::pair<QString, QString>> refused{
        {u"778"_s, own},              // another serial
        {u"777"_s, u"0000000402"_s},  // another ticket's number
        {u"888"_s, other},            // another sales point's ticket
        {u"777"_s, u"401x"_s},        // a number that is none
        {u"777"_s, QString()},        // no number
    };
    for (const auto& [serial, number] : refused) {
        SCOPED_TRACE(serial.toStdString() + " / " + number.toStdString());
        EXPECT_EQ(pagaticket(gateway, serial, u"1"_s, number).code, u"8"_s);
        EXPECT_EQ(db.checksum(), before);
    }
    // the other sales point's seller, sent through this sales point's login
    EXPECT_EQ(pagaticket(gateway, u"888"_s, u"1"_s, other, u"00013"_s, u"2001"_s).code, u"8"_s);
    EXPECT_EQ(db.checksum(), before);
    // a seller suspended since the login pays nothing
    db.admin(u"UPDATE central.usuarios SET estado = 'S' WHERE cod_usuario = '1001'"_s);
    const QString suspended = db.checksum();
    EXPECT_EQ(pagaticket(gateway, u"777"_s, u"1"_s, own).code, u"12"_s);
    EXPECT_EQ(db.checksum(), suspended);
}

// Runs the two at the same moment, each on a thread of its own.
void atOnce(const std::function<void()>& a, const std::function<void()>& b) {
    std::latch start(2);
    std::thread one([&] {
        start.arrive_and_wait();
        a();
    });
    start.arrive_and_wait();
    b();
    one.join();
}

// Two counters of the sales point pay the same tickets at the same moment: each ticket is paid
// once, and the other counter is told it was paid; both are audited. (The seller typing the number
// without its zeros, the paid ticket asked for again and the customer on the payment are checked
// on the payment screen.)
TEST_F(PrizePaymentTest, TwoCountersPayingTheSameTicketAtOncePayOnce) {
    const QStringList numbers = winners(500, u"99"_s);
    PqGateway second(5);
    ASSERT_TRUE(second.open(db.connectionText()).ok());
    std::vector<std::vector<QString>> codes(2);
    auto payAll = [&](PqGateway& counter, std::vector<QString>& answers) {
        return [&] {
            for (const QString& n : numbers)
                answers.push_back(pagaticket(counter, u"99"_s, u"1"_s, n).code);
        };
    };
    atOnce(payAll(gateway, codes[0]), payAll(second, codes[1]));
    for (int i = 0; i < numbers.size(); ++i) {
        QStringList pair{codes[0][i], codes[1][i]};
        pair.sort();
        EXPECT_EQ(pair, (QStringList{u"0"_s, u"6"_s})) << numbers[i].toStdString();
    }
    EXPECT_EQ(db.value(u"SELECT count(*) || ' ' || sum(monto) FROM central.pagos"_s),
              u"20 12000.00"_s);
    EXPECT_EQ(db.auditActions().count(u"PREMIO_PAGADO|00012|1001"_s), 20);
    EXPECT_EQ(db.auditActions().count(u"PAGO_RECHAZADO|00012|1001"_s), 20);
}

// A cancellation as the cancelling procedure makes it: the ticket's row lock, then the state,
// unless the prize was paid.
bool cancelUnderTheTicketLock(PGconn* conn, const QString& number) {
    const QByteArray n = number.toUtf8();
    const char* values[] = {n.constData()};
    PQclear(PQexec(conn, "BEGIN"));
    PQclear(PQexecParams(conn, "SELECT 1 FROM central.tickets WHERE nroticket = $1 FOR UPDATE", 1,
                         nullptr, values, nullptr, nullptr, 0));
    PGresult* r =
        PQexecParams(conn,
                     "UPDATE central.tickets SET anulado = 'S', estado = 'ELI', anulado_en = now() "
                     "WHERE nroticket = $1 AND NOT EXISTS (SELECT FROM central.pagos p "
                     "WHERE p.nroticket = $1)",
                     1, nullptr, values, nullptr, nullptr, 0);
    const bool cancelled = QByteArray(PQcmdTuples(r)) == "1";
    PQclear(r);
    PQclear(PQexec(conn, "COMMIT"));
    return cancelled;
}

TEST_F(PrizePaymentTest, APaymentRacingACancellationEndsInOneOfTheTwo) {
    const QStringList numbers = winners(600, u"42"_s);
    RawConnection canceller = connectAs(db, u"postgres"_s);
    std::vector<QString> paid;
    std::vector<bool> cancelled;
    atOnce(
        [&] {
            for (const QString& n : numbers)
                paid.push_back(pagaticket(gateway, u"42"_s, u"1"_s, n).code);
        },
        [&] {
            for (const QString& n : numbers)
                cancelled.push_back(cancelUnderTheTicketLock(canceller.get(), n));
        });
    ASSERT_EQ(paid.size(), size_t(numbers.size()));
    for (int i = 0; i < numbers.size(); ++i) {
        const QString state = db.value(
            u"SELECT t.anulado || (SELECT count(*) FROM central.pagos p WHERE p.nroticket = "
            u"t.nroticket) FROM central.tickets t WHERE t.nroticket = $1"_s,
            {numbers[i]});
        // told "cancelled" and nothing paid, or paid and not cancelled
        EXPECT_EQ(paid[i] + state, cancelled[i] ? u"9S0"_s : u"0N1"_s) << numbers[i].toStdString();
    }
}

TEST_F(PrizePaymentTest, CorrectedResultsDecideUntilAPrizeOfTheDrawIsPaid) {
    enterResult(db, u"AAA"_s, kYesterday, u"124"_s);
    const QString number = issueTicket(db, u"701"_s, u"5"_s, kYesterday, u"AAA 123 1"_s);
    EXPECT_EQ(pagaticket(gateway, u"5"_s, u"0"_s, number).code, u"3"_s);
    db.asAdminByTwo(u"SELECT admin.corregir_resultado('AAA', '2026-12-06', '123')"_s);
    EXPECT_EQ(pagaticket(gateway, u"5"_s, u"1"_s, number).code, u"0"_s);
    EXPECT_EQ(db.adminErrorByTwo(u"SELECT admin.corregir_resultado('AAA', '2026-12-06', '555')"_s),
              u"55000"_s);
    EXPECT_EQ(db.value(u"SELECT triple FROM central.resultados"_s), u"123"_s);
}

// Its shape is checked with the console; that it changes with the day and is typed without
// dashes in small letters, on the journal's key screen.
TEST_F(PrizePaymentTest, TheAuditKeyIsTheUsersAndTheInstallationsOwn) {
    auto keyOf = [&](const char* user) {
        return db.value(u"SELECT admin.clave_auditoria('2026-12-07', $1)"_s,
                        {QString::fromLatin1(user)});
    };
    const QString key = keyOf("1001");
    EXPECT_NE(key, keyOf("1002"));
    EXPECT_EQ(db.value(u"SELECT central.clave_auditoria_valida('1002', $1)"_s, {key}), u"f"_s);
    // another installation's secret gives other keys
    db.admin(u"UPDATE central.instalacion SET secreto_auditoria = central.gen_random_bytes(32)"_s);
    EXPECT_NE(key, keyOf("1001"));
}

class PaymentScreenTest : public PrizePaymentTest {
  protected:
    PaymentScreenTest() { enterResult(db, u"AAA"_s, kYesterday, u"123"_s); }

    void open() {
        login();
        screen = std::make_unique<PaymentScreen>(seller.link, *printers, clock, seller.dir.path());
        screen->show();
        QApplication::setActiveWindow(screen.get());
    }
    using PrintingCounter::control;
    template <typename W = QLineEdit>
    W* control(const char* name) {
        return control<W>(screen.get(), name);
    }
    QString label(const char* name) { return control<QLabel>(name)->text(); }
    void type(const QString& text) { QTest::keyClicks(focused(), text); }
    void enter() { QTest::keyClick(focused(), Qt::Key_Return); }
    // The ticket number, Enter, the serial, Enter: what a bar-code reader sends for the serial.
    void typeTicket(const QString& number, const QString& serial) {
        control("Text2")->setFocus();
        type(number);
        enter();
        type(serial);
        enter();
    }
    // 1,260.00: 123 x 2 on the triple and 23* x 1 on the terminal.
    QString winner(const QString& number = u"301"_s, const QString& serial = u"246813579"_s) {
        return issueTicket(db, number, serial, kYesterday, u"AAA 123 2; AAA 23* 1"_s);
    }
    void expectEmptyAndReady() {
        EXPECT_TRUE(control("Text1")->text().isEmpty());
        EXPECT_TRUE(control("Text2")->text().isEmpty());
        EXPECT_EQ(focused(), control("Text2"));
    }

    std::unique_ptr<PaymentScreen> screen;
};

TEST_F(PaymentScreenTest, ABarCodeReaderTypingTheSerialAndEnterPaysTheTicket) {
    const QString number = winner();
    open();
    seller.session.NombreVendedor = u"AGENCIA LA FORTUNA CON UN NOMBRE MUY LARGO DE VERDAD"_s;
    EXPECT_EQ(focused(), control("Text2"));
    type(u"301"_s);
    enter();
    EXPECT_EQ(focused(), control("Text1"));
    // what the reader sends: the digits of the bar code, then Enter
    type(u"246813579"_s);
    enter();

    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"Desea cancelar el ticket?"_s,
                           u"El Ticket con el serial 246813579 se ha registrado como cancelado con "
                           u"exito!, ahora se imprimirá el comprobante de retención"_s}));
    EXPECT_EQ(seller.dialogs.shown[0].title, u"Responda!"_s);
    EXPECT_EQ(seller.dialogs.shown[1].title, u"Atención!"_s);
    EXPECT_EQ((QStringList{label("Fecha_venta"), label("Hora_venta"), label("Estado_ticket"),
                           label("TOTal_TICKET1")}),
              (QStringList{u"06/12/2026"_s, u"09:30:00"_s, u"Activo"_s, u"1.260,00"_s}));
    expectEmptyAndReady();
    EXPECT_EQ(db.value(u"SELECT nroticket || ' ' || monto FROM central.pagos"_s),
              number + u" 1260.00"_s);

    // the voucher on the ticket printer, 40 columns after the margin, with the server's day
    // and time of the payment; a sales point's name longer than that is cut
    auto row = [](const QString& label, const QString& value) {
        return u"  "_s + label + QString(40 - label.size() - value.size(), u' ') + value;
    };
    const QString page = printed().remove(QChar(15));
    for (const QString& line :
         {u"        COMPROBANTE DE PAGO DE PREMIO"_s,
          u"  AGENCIA LA FORTUNA CON UN NOMBRE MUY LAR"_s, row(u"Ticket:"_s, u"301"_s),
          row(u"Serial:"_s, u"246813579"_s), row(u"Premio Bs.:"_s, u"1.260,00"_s),
          row(u"Fecha:"_s, u"07/12/2026"_s), row(u"Hora:"_s, u"10:00:00"_s),
          row(u"Usuario:"_s, u"1001 ANA PEREZ"_s)}) {
        EXPECT_TRUE(page.contains(line + u"\r\n"_s)) << line.toStdString() << page.toStdString();
    }
}

// A printer that is not ready stops the payment before any money moves; a payment whose answer
// is lost is recovered (paid once, the voucher printed); the customer of a payment is not the
// next one's; a paid ticket's voucher can be printed again, marked and counted.
TEST_F(PaymentScreenTest, APaymentNeverLosesItsVoucher) {
    winner();
    open();
    seller.session.PuertoPrinter = u"LPT4"_s;  // no such device here
    typeTicket(u"301"_s, u"246813579"_s);
    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"Desea cancelar el ticket?"_s, u"error de apertura del puerto -1"_s,
                           u"Impresora No lista"_s}));
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.pagos"_s), u"0"_s);
    seller.session.PuertoPrinter = u"LPT1"_s;

    // the customer typed for this payment, and the payment's answer lost after its commit
    control("Text6")->setText(u"V-5"_s);
    seller.connector.loseAnswerOf({u"PAGATICKETnew"_s}, 1);
    seller.dialogs.clear();
    typeTicket(u"301"_s, u"246813579"_s);
    EXPECT_EQ(seller.connector.faults.dropped, 1);
    EXPECT_EQ(seller.dialogs.texts().last(),
              u"El Ticket con el serial 246813579 se ha registrado como cancelado con exito!, "
              u"ahora se imprimirá el comprobante de retención"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) || ' ' || cedula FROM central.pagos GROUP BY cedula"_s),
              u"1 V-5"_s);
    EXPECT_TRUE(printed().contains(u"COMPROBANTE DE PAGO DE PREMIO"_s));
    EXPECT_TRUE(control("Text6")->text().isEmpty());
    EXPECT_TRUE(seller.session.ClienteCedula.isEmpty());

    // asked again: paid already, and a copy of its voucher on request, counted first
    const qsizetype before = printed().size();
    seller.dialogs.clear();
    seller.dialogs.answers = {true};
    typeTicket(u"301"_s, u"246813579"_s);
    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"El Ticket con el serial 246813579 ya fue registrado como pagado!"_s,
                           u"Desea imprimir una copia del comprobante de pago?"_s}));
    const QString copy = printed().mid(before);
    EXPECT_TRUE(copy.contains(u"*** COPIA ***"_s)) << copy.toStdString();
    EXPECT_TRUE(copy.contains(u"V-5"_s));
    EXPECT_EQ(db.value(u"SELECT copias FROM central.pagos"_s), u"1"_s);
    EXPECT_EQ(db.auditActions().filter(u"COMPROBANTE_REIMPRESO|00012|1001"_s).size(), 1);
}

TEST_F(PaymentScreenTest, EveryRefusalEndsWithItsMessageAndEmptyFields) {
    winner(u"401"_s, u"41"_s);
    issueTicket(db, u"402"_s, u"42"_s, kYesterday, u"AAA 124 1"_s);
    const QString cancelled = winner(u"403"_s, u"43"_s);
    db.admin(
        u"UPDATE central.tickets SET anulado = 'S', estado = 'ELI', anulado_en = central.ahora() "
        u"WHERE nroticket = $1"_s,
        {cancelled});
    enterResult(db, u"AAA"_s, u"2026-12-01"_s, u"123"_s);
    issueTicket(db, u"404"_s, u"44"_s, u"2026-12-01"_s, u"AAA 123 1"_s);
    open();
    const std::vector<std::pair<QStringList, QString>> cases{
        {{u"402"_s, u"42"_s}, u"El Ticket con el serial 42 no esta premiado!"_s},
        {{u"403"_s, u"43"_s}, u"El Ticket con el serial 43 ha sido anulado!"_s},
        {{u"404"_s, u"44"_s}, u"El Ticket con el serial 44 esta caducado!"_s},
        {{u"401"_s, u"40"_s}, u"El Ticket con el serial 40 no existe!"_s},
        {{u"401"_s, u"ABCDEF"_s}, u"El Ticket con el serial ABCDEF no existe!"_s},
        {{u"401"_s, QString(30, u'4')},
         u"El Ticket con el serial "_s + QString(30, u'4') + u" no existe!"_s},
    };
    for (const auto& [typed, message] : cases) {
        SCOPED_TRACE(typed.join(u' ').toStdString());
        seller.dialogs.clear();
        typeTicket(typed[0], typed[1]);
        EXPECT_EQ(seller.dialogs.texts(), QStringList{message});
        expectEmptyAndReady();
    }
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.pagos"_s), u"0"_s);
    // what a counter that lost the race to pay is told; a code without a text tells nothing
    EXPECT_EQ(paymentMessage(u"6"_s, u"42"_s),
              u"El Ticket con el serial 42 ya ha sido cancelado!"_s);
    for (const QString& code : {u"12"_s, u""_s})
        EXPECT_TRUE(paymentMessage(code, u"42"_s).isEmpty());
}

// Missing fields are told serial first and never reach the server; No leaves the ticket on
// screen; a ticket paid meanwhile at another counter is told as such.
TEST_F(PaymentScreenTest, MissingFieldsNoAndATicketPaidMeanwhile) {
    winner();
    open();
    control<QPushButton>("Eliminar")->click();
    EXPECT_EQ(seller.dialogs.texts(),
              QStringList{u"Debe escribir el serial que aparece en el ticket"_s});
    EXPECT_EQ(focused(), control("Text1"));
    type(u"246813579"_s);
    control<QPushButton>("Eliminar")->click();
    EXPECT_EQ(seller.dialogs.last().text, u"Debe escribir el Nro. del ticket"_s);
    EXPECT_EQ(focused(), control("Text2"));
    // Enter in an empty number field stays there; Enter in the serial needs both fields
    enter();
    EXPECT_EQ(focused(), control("Text2"));
    control("Text1")->setFocus();
    enter();
    EXPECT_EQ(seller.dialogs.shown.size(), 2u);
    EXPECT_EQ(db.auditActions().filter(u"PAGO_RECHAZADO"_s).size(), 0);

    seller.dialogs.clear();
    seller.dialogs.answers = {false};
    QString prizeWhileAsked;
    seller.dialogs.whileAsking = [&] { prizeWhileAsked = label("TOTal_TICKET1"); };
    control("Text2")->setText(u"0000000301"_s);
    control<QPushButton>("Eliminar")->click();
    seller.dialogs.whileAsking = nullptr;
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Desea cancelar el ticket?"_s});
    EXPECT_EQ(prizeWhileAsked, u"1.260,00"_s);
    EXPECT_EQ(control("Text1")->text(), u"246813579"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.pagos"_s), u"0"_s);

    // paid at another counter meanwhile: the data, then the message, and the offer of a copy of
    // its voucher (declined)
    db.admin(
        u"INSERT INTO central.pagos VALUES ('0000000301', '00012', '1001', 1260, NULL, "
        u"'2026-12-07 09:00')"_s);
    seller.dialogs.clear();
    control<QPushButton>("Eliminar")->click();
    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"El Ticket con el serial 246813579 ya fue registrado como pagado!"_s,
                           u"Desea imprimir una copia del comprobante de pago?"_s}));
    EXPECT_EQ(label("Estado_ticket"), u"Activo"_s);
    EXPECT_TRUE(control("Text2")->text().isEmpty());
}

TEST_F(PaymentScreenTest, TheCustomerIsLookedUpOrSavedAndThePrizeIsPaidToThem) {
    winner();
    open();
    auto* cedula = control("Text6");
    cedula->setFocus();
    type(u"V-777"_s);
    enter();
    EXPECT_TRUE(control("Text5")->isEnabled());
    EXPECT_EQ(focused(), control("Text5"));
    control<QPushButton>("XPButton2")->click();  // no name yet: the server refuses it
    EXPECT_EQ(seller.dialogs.last().text, u"Hubo problemas al registrar el cliente!"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.clientes"_s), u"0"_s);

    seller.dialogs.clear();
    control("Text5")->setFocus();
    type(u"MARIA LUNA DE LA SANTISIMA TRINIDAD PEREZ"_s);
    control("Text3")->setText(u"CALLE 3"_s);
    control("Text4")->setText(u"0412-1234567"_s);
    control<QPushButton>("XPButton2")->click();
    EXPECT_EQ(seller.dialogs.texts(), (QStringList{u"Dese grabar los datos del cliente?"_s,
                                                   u"Cliente registrado sin problemas"_s}));
    EXPECT_EQ(db.value(u"SELECT cedula || '/' || descripcion || '/' || cod_vendedor "
                       u"FROM central.clientes"_s),
              u"V-777/MARIA LUNA DE LA SANTISIMA TRINIDAD PEREZ/00012"_s);
    EXPECT_EQ(db.auditActions().last(), u"CLIENTE_GRABADO|00012|1001"_s);
    for (const char* f : {"Text6", "Text5", "Text3", "Text4"})
        EXPECT_TRUE(control(f)->text().isEmpty());
    EXPECT_FALSE(control("Text5")->isEnabled());
    EXPECT_EQ(focused(), control("Text2"));

    seller.dialogs.clear();
    cedula->setFocus();
    type(u"v-777"_s);
    enter();
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Cliente Encontrado, desea continuar?"_s});
    EXPECT_EQ(
        (QStringList{control("Text5")->text(), control("Text3")->text(), control("Text4")->text()}),
        (QStringList{u"MARIA LUNA DE LA SANTISIMA TRINIDAD PEREZ"_s, u"CALLE 3"_s,
                     u"0412-1234567"_s}));

    typeTicket(u"301"_s, u"246813579"_s);
    EXPECT_EQ(db.value(u"SELECT cedula FROM central.pagos"_s), u"V-777"_s);
    // a name too long for the line goes under its label, cut to the width
    EXPECT_TRUE(QString(printed()).remove(QChar(15)).contains(
        u"  Nombre:\r\n  MARIA LUNA DE LA SANTISIMA TRINIDAD PERE\r\n"_s))
        << printed().toStdString();

    control<QPushButton>("XPButton3")->click();
    EXPECT_EQ(seller.session.CodigoCliente, u"0000"_s);
    EXPECT_FALSE(control<QGroupBox>("Frame1")->isVisible());
}

// BBB's results are entered before AAA's: the grid follows the lotteries' order. AAA's name is
// longer than the printout's column.
class ResultsScreenTest : public PrintingCounter {
  protected:
    ResultsScreenTest() {
        db.admin(
            u"UPDATE central.loterias SET desc_lot = 'ZULIA 12:45 PM MEDIODIA' "
            u"WHERE cod_lot = 'AAA'"_s);
        enterResult(db, u"BBB"_s, u"2026-12-06"_s, u"018 111 222 512"_s);
        enterResult(db, u"AAA"_s, u"2026-12-06"_s, u"347"_s);
        login();
        screen = std::make_unique<ResultsScreen>(seller.link, *printers, clock);
    }
    void click(const char* button) { control<QPushButton>(screen.get(), button)->click(); }

    std::unique_ptr<ResultsScreen> screen;
};

TEST_F(ResultsScreenTest, ShowsAndPrintsTheChosenDaysResultsWhenThePrinterIsReady) {
    ASSERT_TRUE(screen->load());
    screen->show();
    QApplication::setActiveWindow(screen.get());
    auto* grid = control<QTableWidget>(screen.get(), "DataGrid1");
    QStringList captions;
    for (int c = 0; c < grid->columnCount(); ++c) captions << grid->horizontalHeaderItem(c)->text();
    EXPECT_EQ(captions,
              (QStringList{u"Loteria"_s, u"Triple"_s, u"Termi"_s, u"2do"_s, u"3ro"_s, u"Especial"_s,
                           u"Jugada Especial"_s, u"Digito"_s, u"Par A"_s, u"Par B"_s, u"Fijo"_s}));
    // the picker starts on the server's day
    auto* picker = control<QDateEdit>(screen.get(), "DTPicker1");
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down);  // the day before
    ASSERT_EQ(picker->date(), QDate(2026, 12, 6));
    click("XPButton2");
    std::vector<QStringList> shown(size_t(grid->rowCount()));
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) shown[size_t(r)] << grid->item(r, c)->text();
    }
    EXPECT_EQ(shown, (std::vector<QStringList>{
                         {u"ZULIA 12:45 PM MEDIODIA"_s, u"347"_s, u"47"_s, QString(), QString(),
                          QString(), QString(), u"7"_s, u"34"_s, u"37"_s, u"3"_s},
                         {u"BETA"_s, u"018"_s, u"18"_s, u"111"_s, u"222"_s, u"512"_s, QString(),
                          u"8"_s, u"01"_s, u"08"_s, u"0"_s}}));

    // on the ticket printer in compressed print: the counter's clock, the chosen day, the
    // margin, a heading and a line per lottery, rules one short of the width
    click("XPButton18");
    const QString rule = u"  "_s + QString(39, u'=');
    const QStringList lines{u"  << KALVORA ON LINE >>"_s,
                            u"  Resultados de Sorteos 06/12/2026"_s,
                            u"  Vendedor : AGENCIA LA FORTUNA 00012"_s,
                            u"  Fecha : 07/12/2026"_s,
                            u"  Hora : 10:30:05"_s,
                            rule,
                            u"  LOTERIA\tTRIPLE\tSIG"_s,
                            rule,
                            u"       Sorteo:ZULIA 12:45 PM MEDIODIA"_s,
                            u"  ZULIA 12:45 PM \t347\t"_s,
                            u"                Sorteo:BETA"_s,
                            u"  BETA\t018\t512"_s,
                            rule};
    const QString out = printed();
    EXPECT_TRUE(out.startsWith(QChar(15)) && out.contains(QChar(18)));
    EXPECT_TRUE(QString(out).remove(QChar(15)).contains(lines.join(u"\r\n"_s) + u"\r\n"_s))
        << out.toStdString();
    EXPECT_TRUE(seller.dialogs.shown.empty()) << seller.dialogs.texts().join(u"|"_s).toStdString();

    // a printer not ready prints nothing; with no lottery open the screen does not open
    seller.session.PuertoPrinter = u"LPT4"_s;  // no such device here
    click("XPButton18");
    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"error de apertura del puerto -1"_s, u"Impresora No lista"_s}));
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
    EXPECT_EQ(printed(), out);

    seller.dialogs.clear();
    db.admin(u"UPDATE central.loterias SET cerrada = true"_s);
    EXPECT_FALSE(screen->load());
    EXPECT_EQ(seller.dialogs.texts(),
              QStringList{u"No hay Loterias Configuradas en el Sistema..."_s});
    EXPECT_EQ(seller.dialogs.last().title, u"KALVORA ON LINE - PUNTO DE VENTA"_s);
}

}  // namespace
