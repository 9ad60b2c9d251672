#include "sales/amount_entry.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// One rule for the smallest amount: whole céntimos of Bs.F., so a Bs. amount is a multiple of
// 10; what is refused says why, once.
TEST(AmountToSend, WholeCentimosOfBolivaresFuertesOnly) {
    struct Case {
        const char* typed;
        bool montobsf;
        const char* sent;  // null: refused with a message starting with that reason
        const char* reason;
    } cases[] = {
        {"10", true, "10", nullptr},
        {"0.01", true, "0.01", nullptr},
        {"12.5", true, "12.5", nullptr},
        {"999999.99", true, "999999.99", nullptr},
        {"0.005", true, nullptr, "Monto inválido: en Bs.F. el monto lleva a lo sumo dos decimales"},
        {"1.234", true, nullptr, "Monto inválido: en Bs.F."},
        {"10", false, "0.01", nullptr},
        {"10000", false, "10", nullptr},
        {"12340", false, "12.34", nullptr},
        {"5", false, nullptr, "Monto inválido: en Bs. el monto debe ser múltiplo de 10"},
        {"15", false, nullptr, "Monto inválido: en Bs. el monto debe ser múltiplo de 10"},
        {"10.5", false, nullptr, "Monto inválido: en Bs. el monto debe ser múltiplo de 10"},
        {"0", true, nullptr, "Monto inválido: escriba un monto mayor que cero."},
        {".", false, nullptr, "Monto inválido: escriba un monto mayor que cero."},
        {"", true, nullptr, "Monto inválido: escriba un monto mayor que cero."},
        {"1000000", true, nullptr, "Monto inválido: 1.000.000,00 Bs.F. es demasiado."},
        {"99999999990", false, nullptr, "Monto inválido: 99.999.999,99 Bs.F. es demasiado."},
    };
    for (const Case& c : cases) {
        const auto sent = amountToSend(QString::fromLatin1(c.typed), c.montobsf, 9);
        if (c.sent) {
            ASSERT_TRUE(sent.ok()) << c.typed << ": " << sent.error().description.toStdString();
            EXPECT_EQ(sent.value().plain(), QString::fromLatin1(c.sent)) << c.typed;
        } else {
            ASSERT_FALSE(sent.ok()) << c.typed;
            EXPECT_TRUE(sent.error().description.startsWith(QString::fromUtf8(c.reason)))
                << c.typed << ": " << sent.error().description.toStdString();
            EXPECT_EQ(sent.error().description.count(u"Monto inválido"_s), 1);
        }
    }
    // the special play's parameter holds 8 characters
    EXPECT_FALSE(amountToSend(u"999999.99"_s, true, 8).ok());
    EXPECT_TRUE(amountToSend(u"99999.99"_s, true, 8).ok());
}

TEST(AmountField, TakesDigitsAndOnePoint) {
    EXPECT_TRUE(amountFieldAccepts(u"12"_s, u'.'));
    EXPECT_FALSE(amountFieldAccepts(u"1.2"_s, u'.'));
    EXPECT_FALSE(amountFieldAccepts(u"12"_s, u','));
    EXPECT_FALSE(amountFieldAccepts(u"12"_s, u'*'));
    EXPECT_TRUE(amountFieldAccepts(u"1.2"_s, u'7'));
}

}  // namespace
