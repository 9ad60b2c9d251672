#include "sales/amount_entry.h"
#include "sales/command_map.h"
#include "sales/lottery_catalog.h"
#include "sales/sale_result.h"
#include "sales/special_play.h"
#include "session/text.h"
#include "test_database.h"

#include <QKeySequence>

#include <gtest/gtest.h>

#include <tuple>

using namespace vendura;

namespace {

// One rule for the smallest amount: whole céntimos of Bs.F., so a Bs. amount is a multiple of
// 10; what is refused says why, once.
TEST(AmountToSend, WholeCentimosOfBolivaresFuertesOnly) {
    const QString mult10 = u"Monto inválido: en Bs. el monto debe ser múltiplo de 10"_s;
    const QString zero = u"Monto inválido: escriba un monto mayor que cero."_s;
    const QString decimals = u"Monto inválido: en Bs.F. el monto lleva a lo sumo dos decimales"_s;
    const QString unreadable = u"Monto inválido: no se puede leer el monto."_s;
    struct Case {
        QString typed;
        bool montobsf;
        QString expected;  // the amount sent, or the start of the refusal
    } cases[] = {
        // clang-format off
        {u"0.01"_s, true, u"0.01"_s}, {u"999999.99"_s, true, u"999999.99"_s},
        {u"0.005"_s, true, decimals}, {u"1.234"_s, true, decimals},
        {u"10"_s, false, u"0.01"_s}, {u"12340"_s, false, u"12.34"_s},
        {u"5"_s, false, mult10}, {u"10.5"_s, false, mult10},
        {u"0"_s, true, zero}, {u"."_s, false, unreadable}, {u""_s, true, unreadable},
        {u"1.00001"_s, true, decimals}, {u"1.00001"_s, false, mult10}, {u"1.2.3"_s, true, unreadable},
        {u"1000000"_s, true, u"Monto inválido: 1.000.000,00 Bs.F. es demasiado."_s},
        {u"99999999990"_s, false, u"Monto inválido: 99.999.999,99 Bs.F. es demasiado."_s},
        // clang-format on
    };
    for (const Case& c : cases) {
        const auto sent = amountToSend(c.typed, c.montobsf, 9);
        const QString got = sent.ok() ? sent.value().plain() : sent.error().description;
        EXPECT_EQ(sent.ok(), !c.expected.startsWith(u"Monto"_s)) << c.typed.toStdString();
        EXPECT_EQ(got.left(c.expected.size()), c.expected) << c.typed.toStdString();
        EXPECT_EQ(got.count(u"Monto inválido"_s), sent.ok() ? 0 : 1);
    }
    // the special play's parameter holds 8 characters
    EXPECT_FALSE(amountToSend(u"999999.99"_s, true, 8).ok());
    EXPECT_TRUE(amountToSend(u"99999.99"_s, true, 8).ok());
}

// The whole key map of both modes: letters act lower case as upper, and no other key acts.
TEST(KeyTables, EachModeHasItsOwnKeysAndNoOthers) {
    using C = SalesCommand;
    using Key = std::tuple<char16_t, C, const char*>;
    // clang-format off
    const std::vector<Key> normal{
        {u'S', C::Series, "Series"}, {u'P', C::Permutas, "sUper permutas"},
        {u'E', C::EliminarPorLoteria, "sEguidillas"}, {u'O', C::Posicionados, "pOsicionados"},
        {u'T', C::Terminales, "los Terminales"}, {u'R', C::RepetirPorLoteria, "Repetir x loteria"},
        {u'G', C::Seguidillas, nullptr}, {u'A', C::ALaSuerte, "A la Suerte"},
        {u'C', C::CargarTicket, "Cargado desde Ticket"}, {u'B', C::AnularTicket, nullptr},
        {u'L', C::FocoLoterias, nullptr}, {u'Z', C::JugadasEspeciales, nullptr},
        {u'*', C::InvertirLoterias, nullptr}, {u'D', C::EmitirTicket, nullptr},
        {u'/', C::IrAlTicket, nullptr}};
    const std::vector<Key> special{
        {u'J', C::FocoVariantes, nullptr}, {u'L', C::FocoLoteriasEspeciales, nullptr},
        {u'P', C::EspecialPermuta, nullptr}, {u'S', C::EspecialSerie, nullptr},
        {u'M', C::EspecialTerminal, nullptr}, {u'N', C::FocoNumeroEspecial, nullptr},
        {u'+', C::VarianteSiguiente, nullptr}, {u'-', C::VarianteAnterior, nullptr},
        {u'*', C::InvertirLoteriasEspeciales, nullptr}};
    // clang-format on
    auto check = [](const KeyCommand* (*lookup)(QChar), std::span<const KeyCommand> table,
                    const std::vector<Key>& keys, std::u16string_view none) {
        EXPECT_EQ(table.size(), keys.size());
        for (const auto& [key, command, jugada] : keys) {
            for (const QChar typed : {QChar(key), QChar(key).toLower()}) {
                const KeyCommand* found = lookup(typed);
                ASSERT_TRUE(found) << char(typed.unicode());
                EXPECT_EQ(found->command, command) << char(typed.unicode());
                EXPECT_STREQ(found->jugada, jugada) << char(typed.unicode());
            }
        }
        for (const char16_t key : none) EXPECT_EQ(lookup(QChar(key)), nullptr) << char(key);
    };
    check(&normalKeyCommand, normalKeyCommands(), normal, u"XY1+-NMJ");
    check(&specialKeyCommand, specialKeyCommands(), special, u"D/ZEB1");

    // a function key is guarded by the permission of the button of the same command
    QStringList keys;
    for (const FunctionKeyCommand& f : functionKeyCommands()) {
        const CommandButton* b = f.button ? commandButton(QString::fromLatin1(f.button)) : nullptr;
        EXPECT_EQ(b ? b->command : f.command, f.command);
        keys << QKeySequence(f.key).toString() + u'=' +
                    (b ? QString::fromLatin1(b->permiso) : u"-"_s);
    }
    EXPECT_EQ(keys.join(u' '),
              u"F1=- F2=F2. F3=F3. F4=F4. F5=F5. F6=F6. F7=F7. F9=- F10=F10 F11=F11 F12=F12"_s);
    // the ticket can always be issued
    EXPECT_STREQ(commandButton(u"XPButton18"_s)->permiso, "");
    EXPECT_EQ(commandButton(u"XPButton18"_s)->command, SalesCommand::EmitirTicket);
}

LotteryCatalog catalog() {
    RecordSet rows({u"COD_LOT"_s, u"desc_lot"_s, u"Juegaespecial"_s, u"especial"_s});
    rows.addRow({u"ZUL"_s, u"ZULIA 12:45 PM  "_s, u"N"_s, u"TRI"_s});  // straight plays only
    rows.addRow({u"CAR"_s, u"CARACAS 1:00 PM"_s, u"A"_s, u"TRI"_s});
    rows.addRow({u"TAC"_s, u"TACHIRA 4:45 PM"_s, u"S"_s, u"TRI"_s});
    rows.addRow({u"OTR"_s, u"OTRA"_s, u"S"_s, u"DUO"_s});
    rows.addRow({u"NOC"_s, u"NOCTURNA"_s, u"A"_s, u"TRI"_s});
    return LotteryCatalog(rows);
}

// "CAR 7** 2.500 2 42; ZUL 7** 0 1 41": records of lottery, number, amount sold, status, item
// and, when given, the last item number the ticket holds.
PlayAnswer answer(int returnValue, const char* records) {
    PlayAnswer a{returnValue, RecordSet({u"cod_lot"_s, u"numero"_s, u"monto"_s, u"status"_s,
                                         u"titems"_s, u"ultimo_item"_s})};
    for (const QString& r : QString::fromLatin1(records).split(u';', Qt::SkipEmptyParts)) {
        const QStringList f = r.split(u' ', Qt::SkipEmptyParts);
        a.records.addRow({f[0], f[1], f[2], f[3], f[4], f.value(5)});
    }
    return a;
}

struct Case {
    const char* name;
    PlayAnswer answer;
    const char* rows;  // "lottery amount item; ...", the number being 7** throughout
    int numItemAfter;
    const char* messages;  // "partial lines|sold out lines|closed lines"
    int refused;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// Number "7" for 10 Bs.F. on ZUL, CAR and TAC, NUM_ITEM 40 before the call.
class AplicaResultado : public ::testing::TestWithParam<Case> {};

TEST_P(AplicaResultado, TurnsTheAnswerIntoRowsAndMessages) {
    const Case& c = GetParam();
    const LotteryCatalog lots = catalog();
    SaleResult result(c.answer, lots, u"Venta Normal"_s, u"1"_s);
    int numItem = 40;
    for (const QString& lot : {u"ZUL"_s, u"CAR"_s, u"TAC"_s})
        result.apply({lots.find(lot)->entry(), markNumber(u"7"_s), Money::whole(10), {}, {}},
                     numItem);
    result.finish(numItem);
    QStringList rows;
    for (const ItemTicket& r : result.outcome().rows) {
        EXPECT_EQ(r.numero + r.jugada + r.tipo + r.tipo2, u"7**Venta Normal1Venta Normal"_s);
        EXPECT_EQ(r.loteria, lots.find(r.codigoLoteria())->entry());
        rows << r.codigoLoteria() + u' ' + (r.monto ? r.monto->display() : kSinCupo) + u' ' +
                    QString::number(r.item);
    }
    const SaleOutcome& o = result.outcome();
    EXPECT_EQ(rows.join(u"; "_s), QString::fromLatin1(c.rows));
    EXPECT_EQ(numItem, c.numItemAfter);
    EXPECT_EQ(o.partialList + u'|' + o.soldOutList + u'|' + o.closedList,
              QString::fromLatin1(c.messages));
    EXPECT_EQ(o.closedCodes, o.closedList.isEmpty() ? QString() : u"ZUL"_s);
    EXPECT_EQ(o.refused, c.refused);
    EXPECT_EQ(markNumber(u"07"_s), u"07*"_s);  // a typed leading zero stays a digit
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Answers, AplicaResultado, ::testing::Values(
    Case{"closed_first_of_three", answer(1, "ZUL 7** 0 4 41"), "CAR 10,00 42; TAC 10,00 43", 43,
         "||ZULIA 12:45 PM\r", 0},
    Case{"record_for_an_absent_item", answer(1, "ZUL 7** 0 1 99"),
         "ZUL 10,00 41; CAR 10,00 42; TAC 10,00 43", 43, "||", 0},
    // the record stays the one looked for: neither CAR nor TAC gets a row
    Case{"unknown_status_adds_nothing", answer(1, "CAR 7** 0 X 42"), "ZUL 10,00 41", 41, "||", 0},
    Case{"sold_out_with_an_amount_is_unknown", answer(1, "ZUL 7** 3 1 41"), "", 40, "||", 0},
    Case{"refused_call", answer(71, "ZUL 7 0 9 41; CAR 7 0 9 42; TAC 7 0 9 43"), "", 40, "||", 3},
    Case{"item_numbers_taken", answer(74, "ZUL 7** 0 9 41; CAR 7** 0 9 42; TAC 7** 0 9 43"), "", 43, "||", 3},
    // the server tells the last item number it holds: the next call starts past it
    Case{"item_numbers_taken_far_ahead",
         answer(74, "ZUL 7** 0 9 41 57; CAR 7** 0 9 42 57; TAC 7** 0 9 43 57"), "", 57, "||", 3}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

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

// Lotteries that offer the special and are not closed; the variants of that special only.
TEST(SpecialCatalog, ListsTheLotteriesAndVariantsOfTheSpecial) {
    const SpecialCatalog c = specials();
    EXPECT_EQ(c.lotteryEntries(u"TRI"_s, catalog(), u"ZULNOC"_s),
              (QStringList{u"CAR - CARACAS 1:00 PM"_s, u"TAC - TACHIRA 4:45 PM"_s}));
    const QString pad(50, u' ');
    EXPECT_EQ(c.variantEntries(u"tri"_s),
              (QStringList{u"SENCILLA"_s + pad + u"1"_s, u"COMBINADA"_s + pad + u"2"_s,
                           u"CON SERIE"_s + pad + u"3"_s}));
}

}  // namespace

// A request that forms no list says what its own generator needs.
TEST(RefusalReason, CodeSeventyIsEachGeneratorsOwn) {
    for (const auto& [procedure, start] :
         {std::pair{"xcreanormal", "El número debe tener de 1 a 3 dígitos."},
          {"xcreapermutas", "La permuta tiene más dígitos"},
          {"xcreapermutasEspe", "La permuta tiene más dígitos"},
          {"xcreaseries", "La serie se forma"},
          {"xcreaseriesESPE", "La serie se forma"},
          {"xcreaseguid", "La seguidilla no forma números"},
          {"xcreaposic", "Indique un dígito y su posición."},
          {"xjtermi", "No hay triples"},
          {"xjtermiesp", "No hay triples"}}) {
        EXPECT_TRUE(
            refusalReason(70, QString::fromLatin1(procedure)).startsWith(QString::fromUtf8(start)))
            << procedure;
    }
}
