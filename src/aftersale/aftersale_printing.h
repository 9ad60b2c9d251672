#pragma once

#include <QDate>
#include <QStringList>

namespace vendura {

class Dialogs;
class Printers;
struct Session;

// Where the after-sale printouts go: the ticket printer of the session (its port, or the
// system printer when so configured), with the ticket's conventions (byte 15 and 18 in
// compressed print, CR LF, the blank lines fed after).
class AfterSalePrinter {
  public:
    AfterSalePrinter(Printers& printers, Dialogs& dialogs, const Session& session)
        : printers_(printers), dialogs_(dialogs), session_(session) {}

    // The ready check of the port as for tickets: false after "Impresora No lista".
    bool ready();
    // Prints the lines; a journal folder given gets them in the day's journal as a printed
    // ticket does. False after telling the seller what failed.
    bool print(const QStringList& lines, const QString& journalFolder = QString(),
               const QDate& day = QDate());

  private:
    Printers& printers_;
    Dialogs& dialogs_;
    const Session& session_;
};

}  // namespace vendura
