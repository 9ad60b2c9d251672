#include "office/office_action.h"

namespace vendura::office {
namespace {

const ActionField kPoint{u"Punto de venta"_s, u"PUNTO"_s};
const ActionField kAmount{u"Monto"_s, u"MONTO"_s, FieldKind::Amount};
const ActionField kDay{u"Día (vacío: hoy)"_s, u"fecha"_s, FieldKind::Day, true, true};

// A movement of the central office on a sales point's account: a loan ("2"), an instalment
// paid ("3"), or any kind typed.
OfficeAction movement(const QStringList& words, const QString& title, const QString& kind,
                      const QString& help) {
    std::vector<ActionField> fields{kPoint};
    if (kind.isEmpty()) fields.push_back({u"Tipo (0 a 4)"_s, u"TIPO"_s, FieldKind::Whole});
    fields.push_back(kAmount);
    fields.push_back(kDay);
    fields.push_back({u"Nota"_s, u"nota"_s, FieldKind::Text, true, true});
    return {words,
            title,
            help,
            u"registrar_movimiento"_s,
            fields,
            [kind](const QStringList& v) {
                if (!kind.isEmpty())
                    return std::vector<FieldValue>{v[0], kind, v[1], orNull(v[2]), v[3]};
                return std::vector<FieldValue>{v[0], v[1], v[2], orNull(v[3]), v[4]};
            },
            [kind](const QStringList& v, const RecordSet& r) {
                return u"Movimiento %1 de %2: %3"_s.arg(r.text(0, 0), v[0],
                                                        kind.isEmpty() ? v[2] : v[1]);
            }};
}

}  // namespace

std::vector<OfficeAction> moneyActions() {
    return {
        {{u"deposito"_s, u"registrar"_s},
         u"Depósito"_s,
         u"un depósito del punto de venta en la cuenta de la oficina central (hoy si no se da "
         u"fecha)"_s,
         u"registrar_deposito"_s,
         {kPoint, kAmount, kDay, {u"Referencia"_s, u"referencia"_s, FieldKind::Text, true, true}},
         [](const QStringList& v) {
             return std::vector<FieldValue>{v[0], v[1], orNull(v[2]), v[3]};
         },
         [](const QStringList& v, const RecordSet& r) {
             return u"Depósito %1 de %2: %3"_s.arg(r.text(0, 0), v[0], v[1]);
         }},
        {{u"deposito"_s, u"eliminar"_s},
         u"Eliminar un depósito"_s,
         u"borra un depósito registrado por error, si su día no está liquidado"_s,
         u"eliminar_deposito"_s,
         {{u"Número de depósito"_s, u"NUMERO"_s, FieldKind::Whole}},
         {},
         [](const QStringList& v, const RecordSet&) {
             return u"Depósito %1 eliminado"_s.arg(v[0]);
         }},
        movement({u"prestamo"_s, u"otorgar"_s}, u"Préstamo"_s, u"2"_s,
                 u"un préstamo al punto de venta (movimiento \"2.- Prestamo\")"_s),
        movement({u"prestamo"_s, u"cuota"_s}, u"Cuota de préstamo pagada"_s, u"3"_s,
                 u"una cuota de préstamo pagada (movimiento \"3.- Pago Couta Prestamo\")"_s),
        movement({u"movimiento"_s, u"registrar"_s}, u"Movimiento de la oficina"_s, QString(),
                 u"un movimiento de la oficina central, TIPO 0 a 4 como los del punto de venta"_s),
        {{u"movimiento"_s, u"confirmar"_s},
         u"Confirmar un movimiento"_s,
         u"confirma un movimiento del punto de venta: desde ahora cuenta en su cuenta"_s,
         u"confirmar_movimiento"_s,
         {kPoint, {u"Documento"_s, u"DOCUMENTO"_s}},
         {},
         [](const QStringList& v, const RecordSet& r) {
             return u"Movimiento %1 de %2 confirmado: cuenta el %3"_s.arg(v[1], v[0], r.text(0, 0));
         }},
        {{u"movimiento"_s, u"rechazar"_s},
         u"Rechazar un movimiento"_s,
         u"rechaza un movimiento del punto de venta, con el motivo: no cuenta nunca"_s,
         u"rechazar_movimiento"_s,
         {kPoint,
          {u"Documento"_s, u"DOCUMENTO"_s},
          {u"Motivo"_s, u"MOTIVO"_s, FieldKind::Text, false, false, true}},
         {},
         [](const QStringList& v, const RecordSet&) {
             return u"Movimiento %1 de %2 rechazado"_s.arg(v[1], v[0]);
         }},
        {{u"liquidar"_s},
         u"Liquidar"_s,
         u"cierra la cuenta del punto de venta hasta un día terminado con todos sus resultados"_s,
         u"liquidar"_s,
         {kPoint, {u"Hasta el día"_s, u"FECHA"_s, FieldKind::Day}},
         {},
         [](const QStringList& v, const RecordSet& r) {
             return u"%1 liquidado hasta el %2: saldo de jugada %3, saldo de préstamos %4"_s.arg(
                 v[0], v[1], r.text(0, u"saldo_jugada"_s), r.text(0, u"saldo_prestamo"_s));
         }},
        {{u"liquidar-todos"_s},
         u"Liquidar todos los puntos"_s,
         u"liquida hasta un día terminado cada punto de venta que aún no lo esté; los que no "
         u"pueden liquidarse quedan como estaban, con el motivo"_s,
         u"liquidar_todos"_s,
         {{u"Hasta el día"_s, u"FECHA"_s, FieldKind::Day}},
         {},
         [](const QStringList& v, const RecordSet& r) {
             int settled = 0;
             QStringList refused;
             for (int i = 0; i < r.size(); ++i) {
                 if (r.text(i, u"liquidado"_s) == u"t"_s) {
                     ++settled;
                 } else {
                     refused << r.text(i, u"cod_vendedor"_s) + u" ("_s + r.text(i, u"motivo"_s) +
                                    u")"_s;
                 }
             }
             QString done = QString::number(settled) + u" punto(s) liquidado(s) hasta el "_s + v[0];
             if (!refused.isEmpty()) done += u"; sin liquidar: "_s + refused.join(u"; "_s);
             return done;
         }},
    };
}

std::vector<OfficeAction> payoutActions() {
    return {
        {{u"pagos"_s, u"fijar"_s},
         u"Fijar un pago"_s,
         u"lo que paga una unidad de lo que se venda desde ahora: TIPO es TRIPLE, SEGUNDO, "
         u"TERCERO, TERMINAL, DIGITO o ESPECIAL (con su variante)"_s,
         u"fijar_pago"_s,
         {{u"Lotería (*: todas)"_s, u"LOTERIA|*"_s, FieldKind::Code},
          {u"Tipo de premio"_s, u"TIPO"_s, FieldKind::Code},
          {u"Multiplicador"_s, u"MULTIPLICADOR"_s, FieldKind::Amount},
          {u"Variante"_s, u"VARIANTE"_s, FieldKind::Text, true}},
         [](const QStringList& v) {
             return std::vector<FieldValue>{v[0], v[1], v[2], v[3]};
         },
         [](const QStringList& v, const RecordSet& r) {
             return v[1] + (v[3].isEmpty() ? QString() : u" "_s + v[3]) + u" paga "_s + v[2] +
                    u" por unidad en "_s + r.text(0, 0) + u" lotería(s)"_s;
         }},
    };
}

}  // namespace vendura::office
