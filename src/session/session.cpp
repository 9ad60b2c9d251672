#include "session/session.h"

#include "session/text.h"

#include <QDateTime>

#include <cmath>

namespace vendura {
namespace {

class LoginRow {
  public:
    explicit LoginRow(const RecordSet& rows) : rows_(rows) {}
    FieldValue raw(const char* field) const { return rows_.value(0, QString::fromLatin1(field)); }
    QString text(const char* field, const QString& fallback = QString()) const {
        return raw(field).value_or(fallback);
    }
    QString trimmed(const char* field, const QString& fallback = QString()) const {
        const FieldValue v = raw(field);
        return v ? v->trimmed() : fallback;
    }
    double number(const char* field, double fallback) const {
        const FieldValue v = raw(field);
        if (!v) return fallback;
        bool ok = false;
        const double d = v->trimmed().toDouble(&ok);
        return ok ? d : 0;
    }

  private:
    const RecordSet& rows_;
};

qint16 toInt16(double d) {
    const double r = std::nearbyint(d);
    if (r > 32767) return 32767;
    if (r < -32768) return -32768;
    return static_cast<qint16>(r);
}

const char* const kDays[] = {"lunes",   "martes", "miércoles", "jueves",
                             "viernes", "sábado", "domingo"};
const char* const kMonths[] = {"enero",      "febrero", "marzo",     "abril",
                               "mayo",       "junio",   "julio",     "agosto",
                               "septiembre", "octubre", "noviembre", "diciembre"};

}  // namespace

void Session::fillFromLogin(const RecordSet& rows, const FieldValue& xmodo,
                            const QString& typedUser, const QString& typedDatabase) {
    const LoginRow r(rows);
    NombreVendedor = xmodo ? rightTrimmed(*xmodo) : u"Prueba"_s;
    NombreUsuario = r.text("Nombre_Usua");
    EstadoUsuario = r.text("Estado_Usua");
    CodVendedor = r.text("CodVendEDOR");
    Rif = r.text("nrif", u"-"_s);
    Nit = r.text("nnit", u"-"_s);
    Diascaduca = r.number("diascaduca", 0);
    DiasValidez = toInt16(Diascaduca);
    Tiempoanular = r.number("Tiempoanular", 0);
    Msgticket = r.text("Msgticket");
    Direccion = r.text("Direccion_usua");
    MargenIzquierdo = r.number("MargenIzquierdo", 0);
    Permisos = r.trimmed("permisos");
    ScreenVuelto = r.trimmed("screenvuelto", u"0"_s);
    ImprimePorLoteria = r.trimmed("codtel2", u"N"_s);
    FilasSalto = r.number("FilasSalto", 0);
    TipoLetra = r.text("TipoLetra", u"C"_s);
    PuertoPrinter = r.trimmed("PuertoPrinter", u"LPT1"_s);
    PuertoFax = r.trimmed("PuertoFax", u"COM1"_s);
    VelocidadFax = r.trimmed("VelocidadFax");
    CodTel1 = r.text("CodTel1");
    Nrotel1 = r.trimmed("Nrotel1", u"N"_s);
    // the second area code has a field of its own: "codtel2" carries the one-ticket-per-lottery
    // flag, and reading the area code from it lost the code on the next save
    CodTel2 = r.text("codarea2");
    Nrotel2 = r.text("Nrotel2");
    LetraDisquete = r.text("LetraDisquete", u"A"_s);
    ModoTrabajo = r.text("ModoTrabajo", u"0"_s);
    ModoTrabajoInicial = ModoTrabajo;
    BDONLine = r.text("BDONLine", typedDatabase);
    DIRIP_1 = r.text("DIRIP_1");
    DIRIP_2 = r.text("DIRIP_2");
    DIRIP_OFFLine = r.text("DIRIP_OFFLine", u"127.0.0.1"_s);
    BDOFFLINE = r.text("BDOFFLINE", u"KALVDATA"_s);
    nrocolumnas = r.number("nrocolumnas", 3);
    claveoffline = r.text("claveoffline");
    longitudpermuta = toInt16(r.number("longitudpermuta", 7));
    Usuario = typedUser;
    rebuildMargen();
}

void Session::rebuildMargen() {
    Margen.clear();
    for (int i = 1; i <= MargenIzquierdo && i <= 1000; ++i) Margen += u' ';
}

bool applyServerDate(Session& session, const QString& timestamp) {
    const QDateTime t =
        QDateTime::fromString(timestamp.trimmed().left(19), u"yyyy-MM-dd HH:mm:ss"_s);
    if (!t.isValid()) return false;
    session.FechaServidor = t.date().toString(u"dd/MM/yyyy"_s);
    session.HoraServidor = t.time().toString(u"HH:mm:ss"_s);
    session.DiaSemana = static_cast<qint16>(t.date().dayOfWeek());
    session.Mes = static_cast<qint16>(t.date().month());
    session.NombreDia = QString::fromUtf8(kDays[session.DiaSemana - 1]);
    session.NombreMes = QString::fromUtf8(kMonths[session.Mes - 1]);
    return true;
}

}  // namespace vendura
