#pragma once

#include <QByteArray>
#include <QString>

namespace vendura {

// The character table ticket printers start with (IBM PC code page 437). Screens and files
// stay UTF-8; only bytes bound for a printer are in this table. A letter the table lacks is
// printed without its accent ("Á" as "A"); anything else unknown as "?".
QByteArray toCodePage437(const QString& text);
QString fromCodePage437(const QByteArray& bytes);

}  // namespace vendura
