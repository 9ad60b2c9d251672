#include "office/audit_trail.h"
#include "office/exposure.h"
#include "office/office_action.h"

#include <gtest/gtest.h>

#include <array>

using namespace vendura;
using namespace vendura::office;

namespace {

// Rows as admin.exposicion writes them: number, sold, what it pays first, quota.
RecordSet exposureRows(const std::vector<std::array<const char*, 4>>& numbers) {
    RecordSet rows({u"numero"_s, u"triple"_s, u"terminal"_s, u"digito"_s, u"especial"_s,
                    u"paga_primero"_s, u"paga_segundo"_s, u"paga_tercero"_s, u"cupo"_s,
                    u"vendido"_s});
    for (const auto& [numero, vendido, paga, cupo] : numbers) {
        rows.addRow({QString::fromLatin1(numero), QString::fromLatin1(vendido), u"0.000"_s,
                     u"0.000"_s, u"0"_s, QString::fromLatin1(paga), u"0"_s, u"0"_s,
                     QString::fromLatin1(cupo), QString::fromLatin1(vendido)});
    }
    return rows;
}

TEST(Exposure, TheNumbersThatPayMostComeFirstWithTheShareOfTheirQuotaSold) {
    const auto numbers = readExposure(exposureRows({{"000", "0", "0", "100"},
                                                    {"123", "60.500", "36300.000", "100.000"},
                                                    {"321", "100", "60000", "100"},
                                                    {"555", "10", "6000", "0"},
                                                    {"777", "60.5", "36300", "100"}}))
                             .value();
    QStringList shown;
    for (const NumberExposure& n : topExposures(numbers, 4)) {
        shown << n.numero + u" "_s + n.pagaPrimero.plain() + u" "_s + n.quotaLeft().plain() +
                     u" "_s + QString::number(n.soldShare());
    }
    EXPECT_EQ(shown, (QStringList{u"321 60000 0 10000"_s, u"123 36300 39.5 6050"_s,
                                  u"777 36300 39.5 6050"_s, u"555 6000 0 10000"_s}));
    EXPECT_EQ(topExposures(numbers, 1000).size(), 5u);
}

TEST(Exposure, AFigureThatIsNoAmountIsRefusedNamingTheNumber) {
    const auto read = readExposure(exposureRows({{"123", "1", "diez", "100"}}));
    ASSERT_FALSE(read);
    EXPECT_TRUE(read.error().description.contains(u"123"_s))
        << read.error().description.toStdString();
}

// What a sales point wrote into the audit trail reaches the office's spreadsheet as text: quoted
// where it holds a comma, a quote or a line break, and never as a formula.
TEST(AuditCsv, FieldsAreQuotedAndNothingRunsAsAFormula) {
    RecordSet rows({u"accion"_s, u"detalle"_s});
    rows.addRow({u"INGRESO"_s, u"clave errada"_s});
    rows.addRow({u"SESION"_s, u"a, \"b\"\nc"_s});
    rows.addRow({u"GASTO"_s, u"=HYPERLINK(\"http://x\")"_s});
    rows.addRow({u"GASTO"_s, u"-1+1"_s});
    rows.addRow({u"GASTO"_s, std::nullopt});
    EXPECT_EQ(toCsv(rows),
              u"accion,detalle\r\n"
              u"INGRESO,clave errada\r\n"
              u"SESION,\"a, \"\"b\"\"\nc\"\r\n"
              u"GASTO,\"'=HYPERLINK(\"\"http://x\"\")\"\r\n"
              u"GASTO,'-1+1\r\n"
              u"GASTO,\r\n"_s);
}

}  // namespace

namespace {

// What every action's typed values become before they are sent, whichever program typed them:
// each kind of field over good, bad and empty values.
TEST(OfficeActions, TypedValuesAreCheckedBeforeAnythingIsSent) {
    const OfficeAction deposit = moneyActions().front();     // punto, monto, --fecha, --referencia
    const OfficeAction point = salesPointActions().front();  // código, nombre, clave
    OfficeAction seller;  // usuario crear: código, punto, nombre, clave, permisos
    for (const OfficeAction& a : salesPointActions()) {
        if (a.words == QStringList{u"usuario"_s, u"crear"_s}) seller = a;
    }
    struct Case {
        const OfficeAction& action;
        QStringList typed;
        const char* becomes;  // the values joined by '|', or the refusal's beginning
    } cases[] = {
        {deposit, {u" 00012 "_s, u"12,5"_s}, "00012|12.5||"},
        {deposit,
         {u"00012"_s, u"100"_s, u"2026-12-05"_s, u" BANCO 77 "_s},
         "00012|100|2026-12-05|BANCO 77"},
        {deposit, {u"00012"_s, u"12x"_s}, "monto inválido \"12x\""},
        {deposit, {u"00012"_s, u"100"_s, u"2026-13-05"_s}, "fecha inválida"},
        {deposit, {u"00012"_s}, "falta monto"},
        {deposit, {QString(), u"100"_s}, "falta punto de venta"},
        {point, {u"00031"_s, u"NORTE"_s, u"una-clave-larga"_s}, "00031|NORTE|una-clave-larga"},
        // a seller's password is kept as typed, blanks included, and never drawn at random
        {seller, {u"2020"_s, u"00020"_s, u"JUAN"_s, u" 43 21"_s}, "2020|00020|JUAN| 43 21|"},
        {seller, {u"2020"_s, u"00020"_s, u"JUAN"_s}, "falta clave"},
    };
    for (const Case& c : cases) {
        auto checked = checkFields(c.action, c.typed);
        const QString got = checked ? checked.value().join(u'|') : checked.error().description;
        EXPECT_TRUE(got.startsWith(QString::fromUtf8(c.becomes)))
            << c.typed.join(u',').toStdString() << " -> " << got.toStdString();
    }
    // a login's password left empty is drawn at random, a new one each time
    const auto first = checkFields(point, {u"00031"_s, u"NORTE"_s}),
               second = checkFields(point, {u"00031"_s, u"NORTE"_s});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first.value()[2].size(), 24);
    EXPECT_NE(first.value()[2], second.value()[2]);
}

// Every action of the catalogue can be typed on the console: its required values before its
// optional ones, options named, each command once.
TEST(OfficeActions, EveryActionIsACommandOfItsOwn) {
    QStringList commands;
    for (const auto& family :
         {salesPointActions(), moneyActions(), payoutActions(), officeLoginActions()}) {
        for (const OfficeAction& a : family) {
            EXPECT_FALSE(commands.contains(a.words.join(u' '))) << a.words.join(u' ').toStdString();
            commands << a.words.join(u' ');
            bool optionalSeen = false;
            for (const ActionField& f : a.fields) {
                if (f.flag) continue;
                EXPECT_FALSE(optionalSeen && !f.optional) << a.title.toStdString();
                optionalSeen = optionalSeen || f.optional;
            }
            EXPECT_TRUE(a.done) << a.title.toStdString();
        }
    }
}

}  // namespace
