#pragma once

#include <QByteArray>
#include <QString>

namespace vendura {

// The character table ticket printers start with (IBM PC code page 437). Screens and files
// stay UTF-8; only bytes bound for a printer are in this table. A letter the table lacks is
// printed without its accent ("Á" as "A"); anything else unknown as "?".
QByteArray toCodePage437(const QString& text);
QString fromCodePage437(const QByteArray& bytes);

// A line of text for a printer, in code page 437, with every control character but the tab the
// layout itself puts between columns made a blank: nothing a field from the server holds (a
// customer's name, a message, a report line) reaches the printer as a command.
QByteArray toPrinterLine(const QString& text);

}  // namespace vendura
