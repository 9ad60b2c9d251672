#include "office/audit_trail.h"
#include "office/exposure.h"

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
