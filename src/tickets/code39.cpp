#include "tickets/code39.h"

namespace vendura::code39 {
namespace {

struct Symbol {
    char c;
    const char* elements;
};

constexpr Symbol kSymbols[] = {
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"},
    {'4', "000110001"}, {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"},
    {'8', "100100100"}, {'9', "001100100"}, {'A', "100001001"}, {'B', "001001001"},
    {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"}, {'F', "001011000"},
    {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"},
    {'O', "100010010"}, {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"},
    {'S', "001000110"}, {'T', "000010110"}, {'U', "110000001"}, {'V', "011000001"},
    {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"}, {'Z', "011010000"},
    {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'*', "010010100"},
    {'$', "010101000"}, {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"},
};

constexpr char kEsc = 27;

}  // namespace

QByteArray pattern(QChar c) {
    for (const Symbol& s : kSymbols) {
        if (QChar(char16_t(s.c)) == c) return QByteArray(s.elements);
    }
    return pattern(u' ');
}

QByteArray columns(const QString& text) {
    QByteArray out;
    const QString wrapped = u'*' + text + u'*';
    for (qsizetype i = 0; i < wrapped.size(); ++i) {
        if (i > 0) out += QByteArray(2, '\0');
        const QByteArray elements = pattern(wrapped[i]);
        for (int e = 0; e < 9; ++e) {
            const bool wide = elements[e] == '1';
            const bool bar = e % 2 == 0;
            out += bar ? QByteArray(wide ? 3 : 1, char(0xFF)) : QByteArray(wide ? 4 : 2, '\0');
        }
    }
    return out;
}

QByteArray printerBytes(const QString& text) {
    const QByteArray quiet(kQuietColumns, '\0');
    const QByteArray row = quiet + columns(text) + quiet;
    QByteArray out;
    out += kEsc;
    out += '3';
    out += char(2);
    for (int r = 0; r < kRows; ++r) {
        out += kEsc;
        out += 'L';
        out += char(row.size() % 256);
        out += char(row.size() / 256);
        out += row;
        out += kEsc;
        out += 'J';
        out += char(19);
    }
    out += "\r\n";
    out += kEsc;
    out += '@';
    return out;
}

}  // namespace vendura::code39
