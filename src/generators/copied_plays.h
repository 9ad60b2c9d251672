#pragma once

#include "platform/database_gateway.h"
#include "sales/sale_result.h"

#include <optional>

namespace vendura {

class ServerLink;
struct SalesState;

// The rows of a repeat or a reload (xREPITEXLOTERIA, xcargaticket). Only the server knows the
// plays it copied, so its answer holds one record for every item it created, in item order, and
// the rows are made from it: number, lottery and amount from the record, the kind ("tipo") and a
// special play's variant ("jugada", "desc_jugada") as the source had them, with the status
// rules of aplicaresultado. A refusal without records (nothing to copy, another sales point's
// ticket) adds no row and says why.
SaleOutcome copiedPlays(const PlayAnswer& answer, SalesState& state);

// Sends the call and turns its answer into rows; nothing when the call failed (handled the
// common way).
std::optional<SaleOutcome> sellCopies(ServerLink& link, SalesState& state,
                                      const ProcedureCall& call);

}  // namespace vendura
