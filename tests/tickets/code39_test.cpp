#include "tickets/code39.h"
#include "dot_matrix.h"
#include "platform/result.h"

#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

int columnsOf(QChar c) {
    int n = 0;
    const QByteArray p = code39::pattern(c);
    for (int e = 0; e < 9; ++e) n += e % 2 == 0 ? (p[e] == '1' ? 3 : 1) : (p[e] == '1' ? 4 : 2);
    return n;
}

TEST(Code39, EveryCharacterHasThreeWideElementsOfNine) {
    const QString alphabet = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. *$/+%"_s;
    QSet<QByteArray> seen;
    for (QChar c : alphabet) {
        const QByteArray p = code39::pattern(c);
        ASSERT_EQ(p.size(), 9);
        EXPECT_EQ(p.count('1'), 3) << QString(c).toStdString();
        seen.insert(p);
    }
    EXPECT_EQ(seen.size(), alphabet.size());
    EXPECT_EQ(code39::pattern(u'a'), code39::pattern(u' '));  // not in the symbology
    EXPECT_EQ(code39::pattern(u'*'), QByteArray("010010100"));
}

TEST(Code39, ATenDigitSerialIsTwelveCharactersWithElevenGaps) {
    const QString serial = u"2000000001"_s;
    const QByteArray cols = code39::columns(serial);
    int expected = 2 * columnsOf(u'*') + 11 * 2;
    for (QChar c : serial) expected += columnsOf(c);
    EXPECT_EQ(cols.size(), expected);
    EXPECT_EQ(cols.left(1), QByteArray(1, char(0xff)));   // starts with the start bar
    EXPECT_EQ(cols.right(1), QByteArray(1, char(0xff)));  // ends with the stop bar
    EXPECT_EQ(cols.left(columnsOf(u'*')), code39::columns(QString()).left(columnsOf(u'*')));
}

TEST(Code39, ThePrinterGetsRowsOfBitImageAndAReset) {
    const QByteArray bytes = code39::printerBytes(u"1234567"_s);
    const int n = int(code39::columns(u"1234567"_s).size()) + 2 * code39::kQuietColumns;
    EXPECT_TRUE(
        bytes.startsWith(QByteArray("\x1b"
                                    "3\x02")));
    const QByteArray row = QByteArray("\x1bL") + char(n % 256) + char(n / 256);
    EXPECT_EQ(bytes.count(row), code39::kRows);
    EXPECT_EQ(bytes.count(QByteArray("\x1bJ\x13")), code39::kRows);
    EXPECT_TRUE(bytes.endsWith(QByteArray("\r\n\x1b@")));
    EXPECT_EQ(bytes.size(), 3 + code39::kRows * (4 + n + 3) + 4);
}

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
