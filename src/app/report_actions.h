#pragma once

#include <QString>

namespace vendura {

class Printers;
class ProgramEnd;
class SalesActions;

// F7 on the sales screen: the utility menu with the reports, the "Monitor On Line", the
// day's movements and, behind the audit key, the ticket journal. dataFolder holds the ticket
// journals and the reports saved as PDF.
void registerReportActions(SalesActions& actions, Printers& printers, ProgramEnd& programEnd,
                           const QString& dataFolder);

}  // namespace vendura
