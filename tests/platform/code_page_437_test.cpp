#include "platform/code_page_437.h"
#include "platform/result.h"

#include <gtest/gtest.h>

using namespace vendura;

TEST(CodePage437, PrintsSpanishTextWithThePrintersOwnLetters) {
    EXPECT_EQ(toCodePage437(u"Razón Social: ÑAÑA ¿ü?"_s), QByteArray("Raz\xa2n Social: \xa5"
                                                                     "A\xa5"
                                                                     "A \xa8\x81?"));
    // letters the table lacks lose their accent; other signs become "?"
    EXPECT_EQ(toCodePage437(u"ÁÍÓÚ €"_s), QByteArray("AIOU ?"));
}

TEST(CodePage437, EveryByteReadsBackAsItself) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(toCodePage437(fromCodePage437(all)), all);
}

// What reaches a printer from the server's fields is text: its control bytes become blanks, the
// layout's own tab stays.
TEST(CodePage437, APrinterLineCarriesNoControlByte) {
    EXPECT_EQ(toPrinterLine(u"ANA\x1b@\x0cPEREZ\t1\x7f\r\n"_s), QByteArray("ANA @ PEREZ\t1   "));
}
