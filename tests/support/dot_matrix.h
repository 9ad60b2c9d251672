#pragma once

#include <QByteArray>
#include <QImage>
#include <QStringList>

namespace vendura::test {

// Puts bytes sent to a ticket printer on paper the way a 9-pin head does: 10 characters to
// the inch (about 17 condensed, bytes 15 and 18), lines of 1/6 inch unless ESC "3" n sets n/216,
// ESC "L" double-density columns (1/120 inch apart, 8 pins 1/72 inch apart, each dot about as
// wide as the pin pitch), ESC "J" n paper feeds of n/216 inch, ESC "@" reset. White paper,
// black dots, in shades of grey.
QImage renderDotMatrix(const QByteArray& bytes, int dpi = 360);

// The bar codes a real reader (zbar) finds in a picture, as "CODE-39:text".
QStringList readBarcodes(const QImage& image);

}  // namespace vendura::test
