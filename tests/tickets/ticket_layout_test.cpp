#include "tickets/ticket_layout.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

ItemTicket row(const char* number, const char* lottery, std::optional<Money> amount,
               const char* kind = "1", const char* label = "Venta Normal") {
    return ItemTicket{QString::fromLatin1(number),
                      QString::fromLatin1(lottery),
                      amount,
                      QString::fromLatin1(label),
                      QString(),
                      1,
                      QString::fromLatin1(kind),
                      QString::fromLatin1(label)};
}

Money bs(const char* amount) {
    return Money::parse(QString::fromLatin1(amount)).value();
}

class TicketLayout : public ::testing::Test {
  protected:
    TicketLayout() {
        data.margen = u"  "_s;
        data.nombreVendedor = u"AGENCIA LA FORTUNA"_s;
        data.direccion = u"AV. BOLIVAR, LOCAL 4   "_s;
        data.rif = u" J-1 "_s;
        data.nit = u"00"_s;
        data.ticketNumber = u"0000000042"_s;
        data.serial = u"1234567"_s;
        data.userPanel = u"1001 ANA PEREZ"_s;
        data.fecha = u"07/12/2026"_s;
        data.hora = u"10:15:00"_s;
        data.clienteCedula = u"V-1"_s;
        data.clienteNombre = u"PEDRO"_s;
        data.imprimePorLoteria = u"N"_s;
        data.nrocolumnas = 3;
        data.tiempoanular = 1;
        data.diascaduca = 3;
        data.msgticket = u"GRACIAS  "_s;
        rows = {row("123", "ZUL - ZULIA 12:45 PM", bs("10")),
                row("7**", "ZUL - ZULIA 12:45 PM", bs("5")),
                row("12*", "CAR - CARACAS 1:00 PM", bs("1234.5")),
                row("45*", "ZUL - ZULIA 12:45 PM", std::nullopt)};
    }
    QStringList margin(const QStringList& lines) {
        QStringList out;
        for (const QString& l : lines) out << u"  "_s + l;
        return out;
    }
    // The header lines the data above gives, with the customer lines of per-lottery tickets.
    static QStringList header(bool withCustomer) {
        QStringList h{u"<< KALVORA On Line >>"_s, u"AGENCIA LA FORTUNA"_s,
                      u"AV. BOLIVAR, LOCAL 4"_s,  u"R.I.F.: J-1  N.I.T.: 00"_s,
                      u"Ticket: 0000000042"_s,    u"Serial:1234567"_s,
                      u"1001 ANA PEREZ"_s,        u"07/12/2026   10:15:00"_s};
        if (withCustomer) h << u"Cedula/R.I.F.: V-1"_s << u"Nombre/Razón Social: PEDRO"_s;
        return h << kRule;
    }
    static inline const QString kRule = QString(40, u'=');
    TicketPrintData data;
    std::vector<ItemTicket> rows;
};

TEST_F(TicketLayout, OneTicketWithItsSoldOutBlock) {
    const QStringList expected =
        margin(header(false) +
               QStringList{u"          Sorteo:ZULIA 12:45 PM"_s, u"123 x 10,00 7** x  5,00"_s,
                           u"         Sorteo:CARACAS 1:00 PM"_s, u"12* x 1.234,50"_s,
                           u"========================================"_s, u"Total Bs.: 1.249,50"_s,
                           u""_s, u"            NUMEROS AGOTADOS"_s,
                           u"========================================"_s,
                           u"ZUL - ZULIA 12:45 PM   45*"_s,
                           u"========================================"_s, u"Serial:1234567"_s,
                           u"GRACIAS"_s, u"Caduca a los 3 Dias"_s, u"REVISE SU TICKET"_s}) +
        QStringList{u" "_s, u" "_s};
    EXPECT_EQ(layTicket(data, armaticket(rows), rows), expected);

    data.tiempoanular = 0;  // sold-out plays are not printed at all
    const QStringList without = layTicket(data, armaticket(rows), rows);
    EXPECT_FALSE(without.join(u'\n').contains(u"AGOTADOS"_s));
    EXPECT_FALSE(without.join(u'\n').contains(u"45*"_s));
}

TEST_F(TicketLayout, OneTicketPerLotteryEachWithItsOwnTotalAndItsOwnBlankLines) {
    data.imprimePorLoteria = u"S"_s;
    data.msgticket.clear();
    const QStringList header = TicketLayout::header(true);
    const QStringList footer = {u"Serial:1234567"_s, u"Caduca a los 3 Dias"_s,
                                u"REVISE SU TICKET"_s};
    const QStringList blanks{u" "_s, u" "_s};
    const QStringList expected =
        margin(header +
               QStringList{u"          Sorteo:ZULIA 12:45 PM"_s, u"123 x 10,00 7** x  5,00"_s,
                           u"========================================"_s, u"Total Bs.: 15,00"_s} +
               footer) +
        blanks +
        margin(header +
               QStringList{u"         Sorteo:CARACAS 1:00 PM"_s, u"12* x 1.234,50"_s,
                           u"========================================"_s,
                           u"Total Bs.: 1.234,50"_s} +
               footer) +
        blanks;
    EXPECT_EQ(layTicket(data, armaticket(rows), rows), expected);
}

TEST_F(TicketLayout, NoLinePassesFortyCharactersAfterTheMargin) {
    data.nombreVendedor = u"AGENCIA DE LOTERIAS LA GRAN FORTUNA DEL ESTE C.A."_s;
    data.direccion = u"AV. BOLIVAR CON CALLE 5, CENTRO COMERCIAL EL PARQUE, LOCAL 4, CARACAS"_s;
    data.rif = u"J-123456789012345678"_s;
    data.nit = u"0012345678901234"_s;
    data.userPanel = u"1001 ANA MARIA DE LOS ANGELES PEREZ RODRIGUEZ"_s;
    data.clienteCedula = u"V-12345678901234567890123456"_s;
    data.clienteNombre = u"INVERSIONES Y REPRESENTACIONES DEL CARIBE 2026 C.A."_s;
    data.msgticket = u"GRACIAS POR SU COMPRA, LE ESPERAMOS MAÑANA CON MAS SUERTE Y PREMIOS "_s;
    rows.push_back(row("999", "LRG - LOTERIA DE LARGO NOMBRE DE LA NOCHE", bs("1")));
    for (const char* perLottery : {"N", "S"}) {
        data.imprimePorLoteria = QString::fromLatin1(perLottery);
        const QStringList lines = layTicket(data, armaticket(rows), rows) + layVoucher(data);
        for (const QString& l : lines) {
            EXPECT_LE(l.size(), 2 + 40) << perLottery << ": " << l.toStdString();
            EXPECT_TRUE(l.startsWith(u"  "_s) || l == u" "_s) << l.toStdString();
        }
        const QString text = lines.join(u'\n');
        // names and the user are cut; the address, the customer's name and the message wrap
        EXPECT_TRUE(lines.contains(u"  AGENCIA DE LOTERIAS LA GRAN FORTUNA DEL "_s));
        EXPECT_TRUE(lines.contains(u"  1001 ANA MARIA DE LOS ANGELES PEREZ RODR"_s));
        EXPECT_TRUE(text.contains(
            u"  AV. BOLIVAR CON CALLE 5, CENTRO\n  COMERCIAL EL PARQUE, LOCAL 4, CARACAS\n"_s));
        EXPECT_TRUE(
            text.contains(u"  Nombre/Razón Social: INVERSIONES Y\n"
                          u"  REPRESENTACIONES DEL CARIBE 2026 C.A.\n"_s));
        if (data.imprimePorLoteria == u"N"_s) {
            EXPECT_TRUE(
                text.contains(u"  GRACIAS POR SU COMPRA, LE ESPERAMOS\n"
                              u"  MAÑANA CON MAS SUERTE Y PREMIOS\n"_s));
        }
        EXPECT_TRUE(lines.contains(u"  Sorteo:LOTERIA DE LARGO NOMBRE DE LA NOC"_s));
    }
    EXPECT_EQ(wrapToWidth(QString(90, u'x')),
              (QStringList{QString(40, u'x'), QString(40, u'x'), QString(10, u'x')}));
    EXPECT_EQ(wrapToWidth(QString()), QStringList{QString()});
    EXPECT_EQ(wrapToWidth(u"  A  B  "_s), QStringList{u"  A  B  "_s});  // short text as it is
}

TEST_F(TicketLayout, TheImageOfTheTicketListHasNoSerialAndSaysTheTicketsState) {
    const std::vector<TicketRecord> records = armaticket(rows);
    const QStringList active = layImage(data, records, false);
    QStringList header = TicketLayout::header(false);
    header.removeAll(u"Serial:1234567"_s);
    EXPECT_EQ(active,
              margin(header +
                     QStringList{u"          Sorteo:ZULIA 12:45 PM"_s, u"123 x 10,00 7** x  5,00"_s,
                                 u"         Sorteo:CARACAS 1:00 PM"_s, u"12* x 1.234,50"_s, kRule,
                                 u"Total Bs.: 1.249,50"_s, u"GRACIAS"_s, u"Caduca a los 3 Dias"_s,
                                 u"REVISE SU TICKET"_s, u"EL TICKET ESTA ACTIVO"_s}));
    EXPECT_FALSE(active.join(u'\n').contains(u"1234567"_s));
    EXPECT_EQ(layImage(data, records, true).last(), u"  EL TICKET ESTA ANULADO"_s);
}

TEST_F(TicketLayout, TheInvalidTicketVoucher) {
    EXPECT_EQ(
        layVoucher(data),
        margin(header(true) + QStringList{u"***TICKET INVALIDO****TICKET INVALIDO***"_s,
                                          u"***TICKET INVALIDO****TICKET INVALIDO***"_s, kRule}));
}

TEST_F(TicketLayout, PlaysGoNroColumnasToALineAndNeverPastFortyCharacters) {
    std::vector<ItemTicket> seven;
    for (const char* n : {"1", "22", "333", "4", "55", "666", "7"}) {
        seven.push_back(row(n, "PRU - PRUEBA", bs("2")));
    }
    data.margen.clear();
    QStringList lines = layTicket(data, armaticket(seven), seven);
    const qsizetype at = lines.indexOf(u"              Sorteo:PRUEBA"_s);
    ASSERT_GE(at, 0);
    EXPECT_EQ(lines.mid(at + 1, 3),
              (QStringList{u"1** x 2,00 22* x 2,00 333 x 2,00"_s,
                           u"4** x 2,00 55* x 2,00 666 x 2,00"_s, u"7** x 2,00"_s}));

    std::vector<ItemTicket> large = {row("111", "PRU - PRUEBA", bs("999999.999")),
                                     row("222", "PRU - PRUEBA", bs("1")),
                                     row("333", "PRU - PRUEBA", bs("1"))};
    data.nrocolumnas = 6;
    for (const QString& l : layTicket(data, armaticket(large), large)) {
        EXPECT_LE(l.size(), 40) << l.toStdString();
    }
}

TEST_F(TicketLayout, HeadingsAreCentredWithHalvesToTheEvenSide) {
    EXPECT_EQ(centred(u"Sorteo:123456789012"_s), QString(10, u' ') + u"Sorteo:123456789012"_s);
    EXPECT_EQ(centred(u"Sorteo:1234567890123456"_s).indexOf(u'S'), 8);  // 17 / 2 = 8.5 -> 8
    EXPECT_EQ(centred(u"Sorteo:12345678901234"_s).indexOf(u'S'), 10);   // 19 / 2 = 9.5 -> 10
    const QString long41 = QString(41, u'x');
    EXPECT_EQ(centred(long41), long41);
}

// Special plays follow the straight ones of their lottery, grouped by variant: a line with the
// first three characters of the play label and the variant, then the numbers.
TEST_F(TicketLayout, SpecialPlaysAndGeneratorLabels) {
    auto special = [](const char* number, const char* amount, const char* variant) {
        ItemTicket r = row(number, "PRU - PRUEBA", bs(amount), "2", "Especial");
        r.especial = QString::fromLatin1(variant);
        return r;
    };
    std::vector<ItemTicket> plays = {
        row("123", "PRU - PRUEBA", bs("5"), "1", "1Permuta 123*"),
        special("777", "2", "TRIPLETA SENCILLA"),
        row("132", "PRU - PRUEBA", bs("5"), "1", "1Permuta 123*"),
        special("7**", "2", "TRIPLETA COMBINADA"),
        row("555", "PRU - PRUEBA", bs("3")),
        special("12*", "10", "TRIPLETA SENCILLA"),
        row("999", "ZUL - ZULIA", bs("1")),
    };
    data.margen.clear();
    data.nrocolumnas = 2;
    const QStringList lines = layTicket(data, armaticket(plays), plays);
    const qsizetype at = lines.indexOf(u"              Sorteo:PRUEBA"_s);
    ASSERT_GE(at, 0);
    EXPECT_EQ(lines.mid(at + 1, 7),
              (QStringList{u"Permuta 123* x 5,00"_s, u"555 x 3,00"_s, u"Esp TRIPLETA SENCILLA"_s,
                           u"777 x  2,00 12* x 10,00"_s, u"Esp TRIPLETA COMBINADA"_s,
                           u"7** x 2,00"_s, centred(u"Sorteo:ZULIA"_s)}));
    EXPECT_TRUE(lines.contains(u"Total Bs.: 28,00"_s));
}
}  // namespace
