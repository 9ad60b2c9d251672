#include "tickets/code39.h"
#include "dot_matrix.h"
#include "platform/result.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// The port gets line spacing 2/216, then kRows bit-image rows of quiet zone, symbol and quiet
// zone each fed 19/216, then a line end and a reset.
TEST(Code39, ThePrinterGetsRowsOfBitImageAndAReset) {
    const QByteArray image = QByteArray(code39::kQuietColumns, '\0') +
                             code39::columns(u"1234567"_s) +
                             QByteArray(code39::kQuietColumns, '\0');
    const QByteArray row = "\x1bL" + QByteArray(1, char(image.size() % 256)) +
                           QByteArray(1, char(image.size() / 256)) + image + "\x1bJ\x13";
    EXPECT_EQ(code39::printerBytes(u"1234567"_s),
              "\x1b"
              "3\x02" +
                  row.repeated(code39::kRows) + "\r\n\x1b@");
}

// zbar reading the paper a 9-pin head would print is the test of every pattern and width.
TEST(Code39, WhatThePrinterPrintsScansBackToTheSerial) {
    QRandomGenerator random(20261206);
    QStringList serials = {u"1"_s, u"2000000001"_s, u"1000000000"_s, u"99"_s};
    for (int i = 0; i < 60; ++i) serials << QString::number(random.bounded(2000000001u) + 1u);
    for (const QString& serial : serials) {
        const QImage paper = test::renderDotMatrix(code39::printerBytes(serial));
        EXPECT_EQ(test::readBarcodes(paper), QStringList{u"CODE-39:"_s + serial});
    }
}

}  // namespace
