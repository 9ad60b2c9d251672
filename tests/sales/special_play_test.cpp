#include "sales/special_play.h"
#include "sales/lottery_catalog.h"
#include "sales/messages.h"
#include "sales/removal.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

LotteryCatalog lotteries() {
    RecordSet rows({u"COD_LOT"_s, u"desc_lot"_s, u"Juegaespecial"_s, u"especial"_s});
    rows.addRow({u"ZUL"_s, u"ZULIA"_s, u"N"_s, u"TRI"_s});  // straight plays only
    rows.addRow({u"PRU"_s, u"PRUEBA"_s, u"A"_s, u"TRI"_s});
    rows.addRow({u"TRE"_s, u"TRIPLETA"_s, u"S"_s, u"TRI"_s});
    rows.addRow({u"OTR"_s, u"OTRA"_s, u"S"_s, u"DUO"_s});
    rows.addRow({u"NOC"_s, u"NOCTURNA"_s, u"A"_s, u"TRI"_s});
    return LotteryCatalog(rows);
}

SpecialCatalog specials() {
    RecordSet plays({u"especial"_s, u"descripcion"_s});
    plays.addRow({u"TRI"_s, u"TRIPLETAS"_s});
    RecordSet variants({u"especial"_s, u"Jugada"_s, u"desc_jugada"_s});
    variants.addRow({u"TRI"_s, u"1"_s, u"SENCILLA"_s});
    variants.addRow({u"TRI"_s, u"2"_s, u"COMBINADA"_s});
    variants.addRow({u"DUO"_s, u"1"_s, u"OTRA COSA"_s});
    variants.addRow({u"TRI"_s, u"3"_s, u"CON SERIE"_s});
    return SpecialCatalog(plays, variants);
}

TEST(SpecialCatalog, ListsTheLotteriesAndVariantsOfTheSpecial) {
    const SpecialCatalog c = specials();
    ASSERT_EQ(c.plays().size(), 1u);
    EXPECT_EQ(c.plays()[0].caption(), u"TRI TRIPLETAS"_s);
    EXPECT_EQ(primerapalabra(c.plays()[0].caption()), u"TRI"_s);
    // NOC was reported closed since load
    EXPECT_EQ(c.lotteryEntries(u"TRI"_s, lotteries(), u"ZULNOC"_s),
              (QStringList{u"PRU - PRUEBA"_s, u"TRE - TRIPLETA"_s}));
    const QStringList variants = c.variantEntries(u"tri"_s);
    ASSERT_EQ(variants.size(), 3);
    EXPECT_EQ(variants[0], u"SENCILLA"_s + QString(50, u' ') + u"1"_s);
    EXPECT_EQ(variantCode(variants[2]), u"3"_s);
    EXPECT_EQ(c.variantDescription(u"TRI"_s, u"2"_s), u"COMBINADA"_s);
    EXPECT_TRUE(c.lotteryEntries(u"XYZ"_s, lotteries(), QString()).isEmpty());
    EXPECT_TRUE(c.variantEntries(u"XYZ"_s).isEmpty());
}

// Two lotteries and three variants: one call with six items, lottery outer, numbered in that
// order; the code lists are 6 and 3 characters.
TEST(SpecialSelection, ItemsGoLotteryByLotteryThenVariantByVariant) {
    const SpecialCatalog c = specials();
    SpecialSelection s{
        u"TRI"_s, {u"PRU - PRUEBA"_s, u"TRE - TRIPLETA"_s}, c.variantEntries(u"TRI"_s)};
    EXPECT_EQ(s.lotteryCodes(), u"PRUTRE"_s);
    EXPECT_EQ(s.variantCodes(), u"123"_s);
    QStringList order;
    for (const PlannedItem& i : specialItems(s, u"123"_s, Money::whole(5), c))
        order << i.lotteryEntry.left(3) + i.variant + u' ' + i.variantDescription;
    EXPECT_EQ(order, (QStringList{u"PRU1 SENCILLA"_s, u"PRU2 COMBINADA"_s, u"PRU3 CON SERIE"_s,
                                  u"TRE1 SENCILLA"_s, u"TRE2 COMBINADA"_s, u"TRE3 CON SERIE"_s}));
    s.variantEntries.clear();
    EXPECT_TRUE(specialItems(s, u"123"_s, Money::whole(5), c).empty());
}

TEST(Messages, LinesOfTheWindowCutAt65WithTheBankForFiveStars) {
    EXPECT_EQ(cutLines(QString(130, u'a')), (QStringList{QString(65, u'a'), QString(65, u'a')}));
    const QStringList three = cutLines(QString(131, u'b'));
    ASSERT_EQ(three.size(), 3);
    EXPECT_EQ(three[2], u"b"_s);
    EXPECT_TRUE(cutLines(QString()).isEmpty());
    EXPECT_EQ(cutLines(QString(10000, u'c')).size(), 154);

    RecordSet records(
        {u"Vendedor"_s, u"Fecha_men"_s, u"Hora_men"_s, u"Mensajes"_s, u"Ven_envia"_s, u"Leido"_s});
    records.addRow(
        {u"00012"_s, u"07/12/2026"_s, u"10:00:00"_s, QString(70, u'x'), u"*****"_s, u"0"_s});
    records.addRow({u"00012"_s, u"07/12/2026"_s, u"10:05:00"_s, u"Hola"_s, u"00013"_s, u"0"_s});
    const QString stars(100, u'*');
    EXPECT_EQ(messageLines(records),
              (QStringList{u"Vendedor Envia : BANCA"_s, u"Fecha: 07/12/2026 Hora: 10:00:00"_s,
                           stars, u"Mensaje:"_s, QString(65, u'x'), QString(5, u'x'), stars,
                           u"Vendedor Envia : 00013"_s, u"Fecha: 07/12/2026 Hora: 10:05:00"_s,
                           stars, u"Mensaje:"_s, u"Hola"_s, stars}));
    EXPECT_EQ(shownSender(u"*****"_s), u"BANCA"_s);
}

TEST(RemovalByLottery, ListsEachLotteryOnceInOrderOfFirstAppearance) {
    auto row = [](const char* lottery) {
        return ItemTicket{u"123"_s,        QString::fromLatin1(lottery),
                          Money::whole(1), u"Venta Normal"_s,
                          QString(),       1,
                          u"1"_s,          u"Venta Normal"_s};
    };
    const std::vector<ItemTicket> rows{row("TAC - TACHIRA"), row("ZUL - ZULIA"),
                                       row("TAC - TACHIRA"), row("PRU - PRUEBA"),
                                       row("ZUL - ZULIA")};
    EXPECT_EQ(lotteriesOnTicket(rows),
              (QStringList{u"TAC - TACHIRA"_s, u"ZUL - ZULIA"_s, u"PRU - PRUEBA"_s}));
    EXPECT_TRUE(lotteriesOnTicket({}).isEmpty());
}

}  // namespace
