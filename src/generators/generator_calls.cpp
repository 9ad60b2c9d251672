#include "generators/generator_calls.h"

namespace vendura {
namespace {

// The seller and the amount, which every generator sends first.
ProcedureCall start(const QString& name, const GeneratorCaller& c) {
    ProcedureCall call{name, {}, 900};
    call.in(u"@T_VENDEDOR"_s, c.vendedor, 5).in(u"@T_USUARIO"_s, c.usuario, 5);
    return call;
}

QString item(const GeneratorCaller& c) {
    return QString::number(c.numItem);
}

// @NUM_ITEM, @T_COD_LOT, the special's two values, @nticket: the tail of the generators that
// have a special twin.
ProcedureCall& tail(ProcedureCall& call, const GeneratorCaller& c, const QString& codes,
                    const SpecialCodes* special = nullptr) {
    call.in(u"@NUM_ITEM"_s, item(c), 10).in(u"@T_COD_LOT"_s, codes, 500);
    if (special) {
        call.in(u"@XJUGADA"_s, special->variants, 100).in(u"@XESPECIAL"_s, special->especial, 3);
    }
    return call.in(u"@nticket"_s, c.nticket, 10);
}

ProcedureCall numberAndAmount(const QString& name, const GeneratorCaller& c, const QString& number,
                              int numberSize, const QString& amount, const QString& codes,
                              const SpecialCodes* special = nullptr) {
    ProcedureCall call = start(name, c);
    call.in(u"@T_NUMERO_cadena"_s, number, numberSize).in(u"@T_MONTO_NORMAL"_s, amount, 8);
    return tail(call, c, codes, special);
}

}  // namespace

ProcedureCall xcreapermutas(const GeneratorCaller& c, const QString& digits, const QString& amount,
                            const QString& codes) {
    return numberAndAmount(u"xcreapermutas"_s, c, digits, 10, amount, codes);
}

ProcedureCall xcreaseries(const GeneratorCaller& c, const QString& ending, const QString& amount,
                          const QString& codes) {
    return numberAndAmount(u"xcreaseries"_s, c, ending, 3, amount, codes);
}

ProcedureCall xcreaseguid(const GeneratorCaller& c, const QString& first, const QString& last,
                          const QString& amount, const QString& codes) {
    ProcedureCall call = start(u"xcreaseguid"_s, c);
    call.in(u"@T_NUMERO1"_s, first, 3)
        .in(u"@T_NUMERO2"_s, last, 3)
        .in(u"@T_MONTO_NORMAL"_s, amount, 8);
    return tail(call, c, codes);
}

ProcedureCall xcreaposic(const GeneratorCaller& c, const QString& digit, const QString& amount,
                         const QString& mode, const QString& codes) {
    ProcedureCall call = start(u"xcreaposic"_s, c);
    call.in(u"@T_NUMERO_cadena"_s, digit, 1)
        .in(u"@T_MONTO_NORMAL"_s, amount, 8)
        .in(u"@T_MODO"_s, mode, 1);
    return tail(call, c, codes);
}

ProcedureCall xjtermi(const GeneratorCaller& c, const QString& amount, const QString& codes) {
    return numberAndAmount(u"xjtermi"_s, c, u"000"_s, 3, amount, codes);
}

ProcedureCall xcreanormalSuerte(const GeneratorCaller& c, const QString& number,
                                const QString& amount, const QString& codes) {
    return numberAndAmount(u"xcreanormal"_s, c, number, 3, amount, codes);
}

ProcedureCall xREPITEXLOTERIA(const GeneratorCaller& c, const QString& amount, const QString& codes,
                              const QString& originCodes) {
    ProcedureCall call = start(u"xREPITEXLOTERIA"_s, c);
    call.in(u"@T_NUMERO_cadena"_s, u"000"_s, 3)
        .in(u"@T_MONTO_NORMAL"_s, amount, 8)
        .in(u"@NUM_ITEM"_s, item(c), 10)
        .in(u"@T_COD_LOT"_s, codes, 500)
        .in(u"@T_COD_LOT_origen"_s, originCodes, 500)
        .in(u"@nticket"_s, c.nticket, 10);
    return call;
}

ProcedureCall xcargaticket(const GeneratorCaller& c, const QString& amount, const QString& codes,
                           const QString& origin, const QString& soldTicket) {
    ProcedureCall call = start(u"xcargaticket"_s, c);
    call.in(u"@T_NUMERO_cadena"_s, u"000"_s, 3)
        .in(u"@T_MONTO_NORMAL"_s, amount, 8)
        .in(u"@T_COD_LOT"_s, codes, 500)
        .in(u"@T_LOTERIA_ORIGEN"_s, origin, 3)
        .in(u"@NUM_ITEM"_s, item(c), 10)
        .in(u"@T_NRO_TICKET"_s, soldTicket, 100)
        .in(u"@nticket"_s, c.nticket, 10);
    return call;
}

ProcedureCall xcreapermutasEspe(const GeneratorCaller& c, const QString& digits,
                                const QString& amount, const QString& codes,
                                const SpecialCodes& special) {
    return numberAndAmount(u"xcreapermutasEspe"_s, c, digits, 10, amount, codes, &special);
}

ProcedureCall xcreaseriesESPE(const GeneratorCaller& c, const QString& ending,
                              const QString& amount, const QString& codes,
                              const SpecialCodes& special) {
    return numberAndAmount(u"xcreaseriesESPE"_s, c, ending, 3, amount, codes, &special);
}

ProcedureCall xjtermiesp(const GeneratorCaller& c, const QString& amount, const QString& codes,
                         const SpecialCodes& special) {
    return numberAndAmount(u"xjtermiesp"_s, c, u"000"_s, 3, amount, codes, &special);
}

}  // namespace vendura
