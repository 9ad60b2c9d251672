#include "aftersale/draw_results.h"
#include "aftersale/payment_voucher.h"
#include "aftersale/prize_payment.h"
#include "session/session.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// The refusals the counter meets are checked on the payment screen; these are the others.
TEST(PaymentMessageTest, APaidTicketHasItsEndingAndAnUnknownCodeNone) {
    EXPECT_EQ(paymentMessage(u"6"_s, u"123"_s),
              u"El Ticket con el serial 123 ya ha sido cancelado!"_s);
    for (const QString& code : {u"12"_s, u""_s})
        EXPECT_TRUE(paymentMessage(code, u"123"_s).isEmpty());
}

Session printingSession() {
    Session s;
    s.Margen = u"  "_s;
    s.NombreVendedor = u"AGENCIA LA FORTUNA CON UN NOMBRE MUY LARGO DE VERDAD"_s;
    s.CodVendedor = u"00012"_s;
    s.Direccion = u"AV. BOLIVAR, LOCAL 4   "_s;
    s.Rif = u"J-12345678-9"_s;
    s.Nit = u"0012345678"_s;
    return s;
}

TEST(PaymentVoucherTest, CarriesTheTicketThePrizeAndTheCustomerWithin40Columns) {
    const Session s = printingSession();
    VoucherData d;
    d.ticketNumber = u"0000000101"_s;
    d.serial = u"246813579"_s;
    d.premio = Money::parse(u"1260"_s).value();
    d.clienteCedula = u"V-12345678"_s;
    d.clienteNombre = u"PEDRO MARTINEZ DE LA SANTISIMA TRINIDAD Y LOS ANDES"_s;
    d.fecha = u"07/12/2026"_s;
    d.hora = u"10:15:00"_s;
    d.usuario = u"1001 ANA PEREZ"_s;
    const QStringList lines = layPaymentVoucher(s, d);
    for (const QString& line : lines) {
        EXPECT_TRUE(line.startsWith(u"  "_s)) << line.toStdString();
        EXPECT_LE(line.size(), 42) << line.toStdString();
    }
    const QString all = lines.join(u'\n');
    auto row = [](const QString& label, const QString& value) {
        return u"  "_s + label + QString(40 - label.size() - value.size(), u' ') + value;
    };
    for (const QString& expected :
         {row(u"Ticket:"_s, u"0000000101"_s), row(u"Serial:"_s, u"246813579"_s),
          row(u"Premio Bs.:"_s, u"1.260,00"_s), row(u"Cedula/R.I.F.:"_s, u"V-12345678"_s),
          u"  Nombre:"_s, u"  PEDRO MARTINEZ DE LA SANTISIMA TRINIDAD "_s,
          row(u"Fecha:"_s, u"07/12/2026"_s), row(u"Hora:"_s, u"10:15:00"_s),
          row(u"Usuario:"_s, u"1001 ANA PEREZ"_s)}) {
        EXPECT_TRUE(lines.contains(expected)) << expected.toStdString() << "\n"
                                              << all.toStdString();
    }
}

TEST(ResultsPrintoutTest, HeaderOneHeadingAndLinePerLotteryAndShortRules) {
    Session s = printingSession();
    s.NombreVendedor = u"AGENCIA LA FORTUNA"_s;
    RecordSet rows(resultFields());
    rows.addRow({u"ZULIA 12:45 PM MEDIODIA"_s, u"347"_s, u"47"_s, std::nullopt, std::nullopt,
                 std::nullopt, std::nullopt, u"7"_s, u"34"_s, u"37"_s, u"3"_s});
    rows.addRow({u"TRIPLETA ESPECIAL   "_s, u"018"_s, u"18"_s, std::nullopt, std::nullopt,
                 u"5120"_s, u"TRIPLETAS"_s, u"8"_s, u"01"_s, u"08"_s, u"0"_s});
    const QStringList lines = layResults(s, u"06/12/2026"_s, u"07/12/2026"_s, u"10:30:05"_s, rows);
    const QString rule = u"  "_s + QString(39, u'=');
    EXPECT_EQ(lines, (QStringList{
                         u"  << KALVORA ON LINE >>"_s,
                         u"  Resultados de Sorteos 06/12/2026"_s,
                         u"  Vendedor : AGENCIA LA FORTUNA 00012"_s,
                         u"  Fecha : 07/12/2026"_s,
                         u"  Hora : 10:30:05"_s,
                         rule,
                         u"  LOTERIA\tTRIPLE\tSIG"_s,
                         rule,
                         u"       Sorteo:ZULIA 12:45 PM MEDIODIA"_s,
                         u"  ZULIA 12:45 PM \t347\t"_s,
                         u"          Sorteo:TRIPLETA ESPECIAL"_s,
                         u"  TRIPLETA ESPECI\t018\t512"_s,
                         rule,
                     }));
}

}  // namespace
