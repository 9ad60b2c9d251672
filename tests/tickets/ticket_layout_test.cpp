#include "tickets/ticket_layout.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

ItemTicket row(const char* number, const char* lottery, const char* amount, const char* kind = "1",
               const char* label = "Venta Normal") {
    ItemTicket r;
    r.numero = QString::fromLatin1(number);
    r.loteria = QString::fromLatin1(lottery);
    r.jugada = r.tipo2 = QString::fromLatin1(label);
    r.tipo = QString::fromLatin1(kind);
    if (amount) r.monto = Money::parse(QString::fromLatin1(amount)).value();
    return r;
}

const QString kRule = QString(40, u'=');

class TicketLayout : public ::testing::Test {
  protected:
    // The header lines the data below gives, with the customer lines of per-lottery tickets.
    static QStringList header(bool withCustomer) {
        QStringList h{u"<< KALVORA On Line >>"_s, u"AGENCIA LA FORTUNA"_s,
                      u"AV. BOLIVAR, LOCAL 4"_s,  u"R.I.F.: J-1  N.I.T.: 00"_s,
                      u"Ticket: 0000000042"_s,    u"Serial:1234567"_s,
                      u"1001 ANA PEREZ"_s,        u"07/12/2026   10:15:00"_s};
        if (withCustomer) h << u"Cedula/R.I.F.: V-1"_s << u"Nombre/Razón Social: PEDRO"_s;
        return h << kRule;
    }
    QStringList lay(const std::vector<ItemTicket>& plays) {
        return layTicket(data, armaticket(plays), plays);
    }

    TicketPrintData data{.margen = {},
                         .nombreVendedor = u"AGENCIA LA FORTUNA"_s,
                         .direccion = u"AV. BOLIVAR, LOCAL 4   "_s,
                         .rif = u" J-1 "_s,
                         .nit = u"00"_s,
                         .ticketNumber = u"0000000042"_s,
                         .serial = u"1234567"_s,
                         .userPanel = u"1001 ANA PEREZ"_s,
                         .fecha = u"07/12/2026"_s,
                         .hora = u"10:15:00"_s,
                         .clienteCedula = u"V-1"_s,
                         .clienteNombre = u"PEDRO"_s,
                         .imprimePorLoteria = u"N"_s,
                         .nrocolumnas = 3,
                         .tiempoanular = 1,
                         .diascaduca = 3,
                         .msgticket = u"GRACIAS  "_s};
    std::vector<ItemTicket> rows{
        row("123", "ZUL - ZULIA 12:45 PM", "10"), row("7**", "ZUL - ZULIA 12:45 PM", "5"),
        row("12*", "CAR - CARACAS 1:00 PM", "1234.5"), row("45*", "ZUL - ZULIA 12:45 PM", nullptr)};
};

TEST_F(TicketLayout, OneTicketWithItsSoldOutBlock) {
    const QStringList expected =
        (header(false) +
         QStringList{u"          Sorteo:ZULIA 12:45 PM"_s, u"123 x 10,00 7** x  5,00"_s,
                     u"         Sorteo:CARACAS 1:00 PM"_s, u"12* x 1.234,50"_s, kRule,
                     u"Total Bs.: 1.249,50"_s, u""_s, u"            NUMEROS AGOTADOS"_s, kRule,
                     u"ZUL - ZULIA 12:45 PM   45*"_s, kRule, u"Serial:1234567"_s, u"GRACIAS"_s,
                     u"Caduca a los 3 Dias"_s, u"REVISE SU TICKET"_s, u" "_s, u" "_s});
    EXPECT_EQ(lay(rows), expected);

    data.tiempoanular = 0;  // sold-out plays are not printed at all
    QStringList without = expected;
    without.remove(15, 5);
    EXPECT_EQ(lay(rows), without);
}

// One ticket per lottery, each with its own total and blank lines; the void voucher has the
// same header.
TEST_F(TicketLayout, OneTicketPerLotteryAndTheVoucher) {
    data.imprimePorLoteria = u"S"_s;
    data.msgticket.clear();
    const QStringList footer = {u"Serial:1234567"_s, u"Caduca a los 3 Dias"_s,
                                u"REVISE SU TICKET"_s, u" "_s, u" "_s};
    EXPECT_EQ(lay(rows), (header(true) +
                          QStringList{u"          Sorteo:ZULIA 12:45 PM"_s,
                                      u"123 x 10,00 7** x  5,00"_s, kRule, u"Total Bs.: 15,00"_s} +
                          footer + header(true) +
                          QStringList{u"         Sorteo:CARACAS 1:00 PM"_s, u"12* x 1.234,50"_s,
                                      kRule, u"Total Bs.: 1.234,50"_s} +
                          footer));
    const QString invalid = u"***TICKET INVALIDO****TICKET INVALIDO***"_s;
    EXPECT_EQ(layVoucher(data), (header(true) + QStringList{invalid, invalid, kRule}));
}

// Names and the user are cut; the address, the customer's name and the message wrap; plays
// of large amounts go fewer to a line than nrocolumnas asks.
TEST_F(TicketLayout, NoLinePassesFortyCharactersAfterTheMargin) {
    data.margen = u"  "_s;
    data.nombreVendedor = u"AGENCIA DE LOTERIAS LA GRAN FORTUNA DEL ESTE C.A."_s;
    data.direccion = u"AV. BOLIVAR CON CALLE 5, CENTRO COMERCIAL EL PARQUE, LOCAL 4, CARACAS"_s;
    data.rif = u"J-123456789012345678"_s;
    data.nit = u"0012345678901234"_s;
    data.userPanel = u"1001 ANA MARIA DE LOS ANGELES PEREZ RODRIGUEZ"_s;
    data.clienteCedula = u"V-12345678901234567890123456"_s;
    data.clienteNombre = u"INVERSIONES Y REPRESENTACIONES DEL CARIBE 2026 C.A."_s;
    data.msgticket = u"GRACIAS POR SU COMPRA, LE ESPERAMOS MAÑANA CON MAS SUERTE Y PREMIOS "_s;
    rows.push_back(row("999", "LRG - LOTERIA DE LARGO NOMBRE DE LA NOCHE", "1"));
    for (const char* n : {"111", "222", "333"})
        rows.push_back(row(n, "PRU - PRUEBA", "999999.999"));
    data.nrocolumnas = 6;
    for (const char* perLottery : {"N", "S"}) {
        data.imprimePorLoteria = QString::fromLatin1(perLottery);
        const QStringList lines = lay(rows) + layVoucher(data);
        for (const QString& l : lines) {
            EXPECT_LE(l.size(), 2 + 40) << perLottery << ": " << l.toStdString();
            EXPECT_TRUE(l.startsWith(u"  "_s) || l == u" "_s) << l.toStdString();
        }
        const QString text = lines.join(u'\n');
        for (const QString& part :
             {u"\n  AGENCIA DE LOTERIAS LA GRAN FORTUNA DEL \n"_s,
              u"\n  1001 ANA MARIA DE LOS ANGELES PEREZ RODR\n"_s,
              u"\n  AV. BOLIVAR CON CALLE 5, CENTRO\n  COMERCIAL EL PARQUE, LOCAL 4, CARACAS\n"_s,
              u"\n  Nombre/Razón Social: INVERSIONES Y\n"
              u"  REPRESENTACIONES DEL CARIBE 2026 C.A.\n"_s,
              u"\n  Sorteo:LOTERIA DE LARGO NOMBRE DE LA NOC\n"_s,
              u"\n  GRACIAS POR SU COMPRA, LE ESPERAMOS\n  MAÑANA CON MAS SUERTE Y PREMIOS\n"_s}) {
            EXPECT_TRUE(text.contains(part)) << perLottery << part.toStdString();
        }
    }
    EXPECT_EQ(wrapToWidth(QString(90, u'x')),
              (QStringList{QString(40, u'x'), QString(40, u'x'), QString(10, u'x')}));
}

// Special plays follow the straight ones of their lottery, grouped by variant: a line with the
// first three characters of the play label and the variant, then the numbers. A generator's
// group prints once under its label.
TEST_F(TicketLayout, SpecialPlaysAndGeneratorLabels) {
    auto special = [](const char* number, const char* amount, const char* variant) {
        ItemTicket r = row(number, "PRU - PRUEBA", amount, "2", "Especial");
        r.especial = QString::fromLatin1(variant);
        return r;
    };
    data.nrocolumnas = 2;
    const QStringList lines = lay({
        row("123", "PRU - PRUEBA", "5", "1", "1Permuta 123*"),
        special("777", "2", "TRIPLETA SENCILLA"),
        row("132", "PRU - PRUEBA", "5", "1", "1Permuta 123*"),
        special("7**", "2", "TRIPLETA COMBINADA"),
        row("555", "PRU - PRUEBA", "3"),
        special("12*", "10", "TRIPLETA SENCILLA"),
        row("999", "ZUL - ZULIA", "1"),
    });
    const qsizetype at = lines.indexOf(u"              Sorteo:PRUEBA"_s);
    ASSERT_GE(at, 0);
    EXPECT_EQ(lines.mid(at + 1, 7),
              (QStringList{u"Permuta 123* x 5,00"_s, u"555 x 3,00"_s, u"Esp TRIPLETA SENCILLA"_s,
                           u"777 x  2,00 12* x 10,00"_s, u"Esp TRIPLETA COMBINADA"_s,
                           u"7** x 2,00"_s, centred(u"Sorteo:ZULIA"_s)}));
    EXPECT_TRUE(lines.contains(u"Total Bs.: 28,00"_s));
}

}  // namespace
