#pragma once

#include "platform/record_set.h"
#include "platform/result.h"

#include <QDate>
#include <QStringList>

namespace vendura {

class ServerLink;
struct Session;

// The fields of a Verpremios record in the order of the grid, and the grid's captions.
const QStringList& resultFields();
const QStringList& resultCaptions();

// The day as Verpremios takes it and the printout shows it: "dd/mm/yyyy".
QString resultsDateText(const QDate& day);

// The results of the draws of a day, from the central database.
class DrawResults {
  public:
    explicit DrawResults(ServerLink& link) : link_(link) {}

    // DSPLOT '4', '0': the lotteries configured. An error when the call failed (the common
    // handler has spoken).
    Result<RecordSet> lotteries();
    // Verpremios '0', day, vendor.
    Result<RecordSet> results(const QDate& day);

  private:
    Result<RecordSet> call(const QString& procedure, const QStringList& args);
    ServerLink& link_;
};

// The printout: a header, the heading "LOTERIA", "TRIPLE", "SIG" between tabs, and for each
// lottery its "Sorteo:" heading and its line (description cut to 15, first prize, the first
// three characters of the special result, between tabs). printedAt is the moment printed.
QStringList layResults(const Session& session, const QString& day, const QString& printedDate,
                       const QString& printedTime, const RecordSet& rows);

}  // namespace vendura
