#pragma once

#include "platform/database_gateway.h"

#include <QString>

namespace vendura {

// What every generator call sends besides its own values: the seller, the open ticket and the
// items it holds so far.
struct GeneratorCaller {
    QString vendedor;
    QString usuario;
    QString nticket;
    int numItem = 0;
};

// A special generator's extra values: the variant codes (@XJUGADA) and the special (@XESPECIAL).
struct SpecialCodes {
    QString variants;
    QString especial;
};

// Amounts travel as text after the unit conversion ("12.5"; "0" keeps each source's own).
ProcedureCall xcreapermutas(const GeneratorCaller& c, const QString& digits, const QString& amount,
                            const QString& codes);
ProcedureCall xcreaseries(const GeneratorCaller& c, const QString& ending, const QString& amount,
                          const QString& codes);
ProcedureCall xcreaseguid(const GeneratorCaller& c, const QString& first, const QString& last,
                          const QString& amount, const QString& codes);
ProcedureCall xcreaposic(const GeneratorCaller& c, const QString& digit, const QString& amount,
                         const QString& mode, const QString& codes);
ProcedureCall xjtermi(const GeneratorCaller& c, const QString& amount, const QString& codes);
// The random play: xcreanormal with the amount parameter 8 characters wide.
ProcedureCall xcreanormalSuerte(const GeneratorCaller& c, const QString& number,
                                const QString& amount, const QString& codes);
ProcedureCall xREPITEXLOTERIA(const GeneratorCaller& c, const QString& amount, const QString& codes,
                              const QString& originCodes);
ProcedureCall xcargaticket(const GeneratorCaller& c, const QString& amount, const QString& codes,
                           const QString& origin, const QString& soldTicket);
ProcedureCall xcreapermutasEspe(const GeneratorCaller& c, const QString& digits,
                                const QString& amount, const QString& codes,
                                const SpecialCodes& special);
ProcedureCall xcreaseriesESPE(const GeneratorCaller& c, const QString& ending,
                              const QString& amount, const QString& codes,
                              const SpecialCodes& special);
ProcedureCall xjtermiesp(const GeneratorCaller& c, const QString& amount, const QString& codes,
                         const SpecialCodes& special);

}  // namespace vendura
