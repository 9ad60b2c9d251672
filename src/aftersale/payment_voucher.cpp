#include "aftersale/payment_voucher.h"

#include "session/session.h"
#include "tickets/ticket_layout.h"

namespace vendura {
namespace {

constexpr int kWidth = 40;

// "label" and "value" on one line of 40, the value to the right; a value too long for the
// line goes on the next one.
QStringList labelled(const QString& label, const QString& value) {
    if (label.size() + value.size() + 1 <= kWidth) {
        return {label + QString(kWidth - label.size() - value.size(), u' ') + value};
    }
    return {label, value.left(kWidth)};
}

}  // namespace

QStringList layPaymentVoucher(const Session& s, const VoucherData& d) {
    const QString rule(kWidth, u'=');
    QStringList body;
    body << u"<< KALVORA On Line >>"_s << s.NombreVendedor.trimmed().left(kWidth)
         << s.Direccion.trimmed().left(kWidth)
         << (u"R.I.F.: "_s + s.Rif.trimmed() + u"  N.I.T.: "_s + s.Nit.trimmed()).left(kWidth)
         << rule << centred(u"COMPROBANTE DE PAGO DE PREMIO"_s);
    if (d.copia) body << centred(u"*** COPIA ***"_s);
    body << rule;
    body << labelled(u"Ticket:"_s, d.ticketNumber) << labelled(u"Serial:"_s, d.serial)
         << labelled(u"Premio Bs.:"_s, d.premio.display());
    body << labelled(u"Cedula/R.I.F.:"_s, d.clienteCedula.trimmed())
         << labelled(u"Nombre:"_s, d.clienteNombre.trimmed().left(kWidth));
    body << labelled(u"Fecha:"_s, d.fecha) << labelled(u"Hora:"_s, d.hora)
         << labelled(u"Usuario:"_s, d.usuario.trimmed().left(kWidth)) << rule << u" "_s
         << u"Recibi conforme:"_s << u" "_s << u"________________________________________"_s
         << u" "_s;
    QStringList lines;
    for (const QString& line : body) lines << s.Margen + line;
    return lines;
}

}  // namespace vendura
