#pragma once

#include <QByteArray>
#include <QString>

namespace vendura {

// Code 39 of the published standard, drawn as dot-matrix bit-image columns (one byte per
// column, 8 dots high): narrow bar 1 column of 255, wide bar 3, narrow space 2 columns of 0,
// wide space 4, one narrow space between characters.
namespace code39 {

// The nine elements of a character, bar first, "1" for a wide one. A character the
// symbology lacks is encoded as the blank.
QByteArray pattern(QChar c);
// The columns of "*" + text + "*".
QByteArray columns(const QString& text);

// Quiet zone before and after the symbol, in columns.
constexpr int kQuietColumns = 30;
// How many times the row of columns is printed: about a centimetre on a 9-pin head.
constexpr int kRows = 4;

// codebar1: the bytes sent to the port: ESC "3" 2; kRows times ESC "L" nL nH columns and
// ESC "J" 19; a line end and ESC "@".
QByteArray printerBytes(const QString& text);

}  // namespace code39
}  // namespace vendura
