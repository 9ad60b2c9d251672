#include "reports/report_link.h"

#include "platform/dialogs.h"
#include "session/server_link.h"
#include "session/session.h"

namespace vendura {

bool ReportLink::open() {
    if (renew()) return true;
    link_.dialogs().message(
        DialogIcon::Critical, kTituloPuntoVenta,
        u"Ocurrieron Errores al Intentar Conectarse!... Finalizando el Sistema"_s);
    return false;
}

Result<void> ReportLink::renew() {
    const Session& s = link_.session();
    auto text = link_.connectionText(s.Servidor, s.BaseDatos, pastDays_);
    if (!text) return text.error();
    auto fresh = link_.connector().create();
    auto opened = fresh->open(text.value());
    if (!opened) return opened;
    connection_ = std::move(fresh);
    connectedForPast_ = pastDays_;
    return {};
}

bool ReportLink::needsRenewal(bool fresh) const {
    return fresh || !connection_ || !connection_->isOpen() || connectedForPast_ != pastDays_;
}

Result<CallAnswer> ReportLink::answered(Result<CallAnswer> answer) {
    if (!answer) reportCallFailure(link_.dialogs(), answer.error());
    return answer;
}

Result<CallAnswer> ReportLink::call(const ProcedureCall& call, bool fresh) {
    if (needsRenewal(fresh)) {
        if (auto renewed = renew(); !renewed) return answered(renewed.error());
    }
    return answered(connection_->call(call));
}

Result<CallAnswer> ReportLink::exec(const QString& text, bool fresh) {
    if (needsRenewal(fresh)) {
        if (auto renewed = renew(); !renewed) return answered(renewed.error());
    }
    return answered(connection_->exec(text));
}

Result<void> ReportLink::refreshServerDate() {
    auto answer = exec(u"Retornafecha"_s);
    if (!answer) return answer.error();
    if (!applyServerDate(link_.session(), answer.value().rows.text(0, u"fecha"_s))) {
        Error e{db_error::kServerError, u"El servidor no devolvió su fecha"_s};
        reportCallFailure(link_.dialogs(), e);
        return e;
    }
    return {};
}

}  // namespace vendura
