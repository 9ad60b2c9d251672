#pragma once

#include "platform/database_gateway.h"
#include "sales/sale_result.h"

#include <optional>
#include <vector>

namespace vendura {

class ServerLink;
struct SalesState;

// Sends a play-creating call and hands its answer to aplicaresultado. Nothing comes back when
// the call failed: the failure has then been handled the common way.
std::optional<SaleOutcome> sellPlay(ServerLink& link, SalesState& state, const ProcedureCall& call,
                                    const std::vector<PlannedItem>& items, const QString& tipo);

// The straight play: "xcreanormal" for one number and amount on a list of lottery codes.
ProcedureCall xcreanormal(const QString& vendedor, const QString& usuario, const QString& numero,
                          const Money& amount, int numItem, const QString& codes,
                          const QString& nticket);

// The special play: "xcreaespecial" for one number and amount on a list of lottery codes and a
// list of the special's variants.
ProcedureCall xcreaespecial(const QString& vendedor, const QString& usuario, const QString& numero,
                            const Money& amount, int numItem, const QString& codes,
                            const QString& variants, const QString& especial,
                            const QString& nticket);

}  // namespace vendura
