#include "session/parameters.h"

#include "session/money.h"
#include "session/session.h"

#include <cmath>

namespace vendura {
namespace {

const QString kSi = u"Si"_s;
const QString kNo = u"No"_s;

QString yesNo(bool yes) {
    return yes ? kSi : kNo;
}

// A number field as the server receives it: "," as decimal point becomes ".".
QString numericText(const QString& text) {
    return comaapunto(text.trimmed());
}

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double d = numericText(text).toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
}

struct Range {
    QString TerminalParameters::*field;
    const char* control;
    const char* name;
    int minimum;
    int maximum;
};

// The same ranges and texts the server refuses with.
const Range kRanges[] = {
    {&TerminalParameters::margen, "Text4", "El margen izquierdo", 0, 40},
    {&TerminalParameters::filasSalto, "Text5", "El número de filas de salto", 0, 60},
    {&TerminalParameters::columnas, "Text6", "El número de columnas", 1, 6},
};

}  // namespace

const QString kSerialPorDefecto = u"9600,8,N,1 "_s;

namespace choices {
const QStringList& printerPorts() {
    static const QStringList l{u"LPT1"_s, u"LPT2"_s, u"LPT3"_s, u"LPT4"_s,
                               u"COM1"_s, u"COM2"_s, u"COM3"_s, u"COM4"_s};
    return l;
}
const QStringList& faxPorts() {
    static const QStringList l{u"COM1"_s, u"COM2"_s, u"COM3"_s, u"COM4"_s};
    return l;
}
const QStringList& lineSpeeds() {
    static const QStringList l{u"300"_s,   u"1200"_s,  u"2400"_s,  u"4800"_s,  u"9600"_s,
                               u"19200"_s, u"38400"_s, u"57600"_s, u"115200"_s};
    return l;
}
const QStringList& listForms() {
    static const QStringList l{u"Resumida"_s, u"Detallada"_s};
    return l;
}
const QStringList& printTypes() {
    static const QStringList l{u"Normal"_s, u"Comprimida"_s};
    return l;
}
const QStringList& yesNo() {
    static const QStringList l{kSi, kNo};
    return l;
}
const QStringList& workingModes() {
    static const QStringList l{u"0.- On Line ( Conexion y Venta  por Internet )"_s,
                               u"1.- Off Line ( Venta  Local y envio por Disquete o FAX MODEM )"_s,
                               u"2.- Mixto ( Pude trabajar con Ambas Tecnicas 1 y 2 )"_s};
    return l;
}
}  // namespace choices

ProcedureCall ver_usuario(const Session& session) {
    ProcedureCall call{u"ver_usuario"_s, {}};
    call.in(u"@Xvendedor"_s, session.CodVendedor.trimmed(), 5)
        .in(u"@Xusuario"_s, session.Usuario.trimmed(), 5);
    return call;
}

TerminalParameters parametersFromRow(const RecordSet& rows) {
    // the row carries the login's fields: read them the way the login does, defaults included
    Session s;
    s.fillFromLogin(rows, std::nullopt, QString(), QString());
    TerminalParameters p;
    p.puertoPrinter = s.PuertoPrinter;
    p.puertoFax = s.PuertoFax;
    p.velocidad = s.VelocidadFax.section(u',', 0, 0).trimmed();
    p.modoTrabajo = s.ModoTrabajo.trimmed() == u"1"_s ? u"Detallada"_s : u"Resumida"_s;
    p.tiempoAnular = yesNo(s.Tiempoanular != 0);
    p.nrotel1 = yesNo(s.Nrotel1 == u"S"_s);
    p.screenVuelto = yesNo(s.ScreenVuelto == u"1"_s);
    p.impresion = s.TipoLetra.trimmed() == u"N"_s ? u"Normal"_s : u"Comprimida"_s;
    p.imprimePorLoteria = yesNo(s.ImprimePorLoteria.startsWith(u'S'));
    p.diasCaduca = numberText(s.Diascaduca);
    p.bdOffline = s.BDOFFLINE;
    p.claveOffline = s.claveoffline;
    p.margen = numberText(s.MargenIzquierdo);
    p.filasSalto = numberText(s.FilasSalto);
    p.columnas = numberText(s.nrocolumnas);
    p.tipoLetra = s.TipoLetra;
    p.letraDisquete = s.LetraDisquete;
    p.codTel1 = s.CodTel1;
    p.codTel2 = s.CodTel2;
    p.nrotel2 = s.Nrotel2;
    p.dirOffline = s.DIRIP_OFFLine;
    p.dirip2 = s.DIRIP_2;
    p.dirip1 = s.DIRIP_1;
    p.bdOnline = s.BDONLine;
    // the serial settings as saved: the default ends in a blank the field shows
    p.serial = rows.text(0, u"VelocidadFax"_s);
    return p;
}

std::optional<ParameterProblem> checkParameters(const TerminalParameters& p) {
    for (const Range& r : kRanges) {
        const std::optional<double> value = number(p.*r.field);
        if (!value || std::round(*value) < r.minimum || std::round(*value) > r.maximum) {
            return ParameterProblem{QString::fromUtf8(r.name) + u" debe estar entre "_s +
                                        QString::number(r.minimum) + u" y "_s +
                                        QString::number(r.maximum),
                                    r.control};
        }
    }
    return std::nullopt;
}

void applySavingRules(TerminalParameters& p) {
    if (p.serial.isEmpty()) p.serial = kSerialPorDefecto;
    p.tipoLetra = p.impresion == u"Normal"_s ? u"N"_s : u"C"_s;
}

ProcedureCall grabaParametros(const Session& session, const TerminalParameters& p) {
    ProcedureCall call{u"GRABA_PARAMETROS_USUARIO"_s, {}};
    call.in(u"@Xcodvendedor"_s, session.CodVendedor, 5)
        .in(u"@Xusuario"_s, session.Usuario.trimmed(), 5)
        .decimal(u"@XDiascaduca"_s, numericText(p.diasCaduca))
        .decimal(u"@XMargenIzquierdo"_s, numericText(p.margen))
        .decimal(u"@XFilasSalto"_s, numericText(p.filasSalto))
        .in(u"@XTipoLetra"_s, p.tipoLetra, 1)
        .in(u"@XPuertoPrinter"_s, p.puertoPrinter, 10)
        .in(u"@XPuertoFax"_s, p.puertoFax, 10)
        .in(u"@XVelocidadFax"_s, p.serial, 40)
        .in(u"@XCodTel1"_s, p.codTel1, 4)
        .in(u"@XNrotel1"_s, p.nrotel1 == kSi ? u"S"_s : u"N"_s, 10)
        .in(u"@XCodTel2"_s, p.codTel2, 4)
        .in(u"@XNrotel2"_s, p.nrotel2, 10)
        .in(u"@XLetraDisquete"_s, p.letraDisquete, 1)
        .in(u"@XModoTrabajo"_s, p.modoTrabajo == u"Detallada"_s ? u"1"_s : u"0"_s, 1)
        .in(u"@XBDONLine"_s, p.bdOnline, 20)
        .in(u"@XDIRIP_1"_s, p.dirip1, 15)
        .in(u"@XDIRIP_2"_s, p.dirip2, 15)
        .in(u"@XDIRIP_OFFLine"_s, p.dirOffline, 15)
        .in(u"@XBDOFFLINE"_s, p.bdOffline, 20)
        .decimal(u"@Xnrocolumnas"_s, numericText(p.columnas))
        .in(u"@Xclaveoffline"_s, p.claveOffline, 10)
        .decimal(u"@XTIEMPOANULAR"_s, p.tiempoAnular == kSi ? u"1"_s : u"0"_s)
        .in(u"@Xscreenvuelto"_s, p.screenVuelto == kSi ? u"1"_s : u"0"_s, 1)
        .in(u"@implot"_s, p.imprimePorLoteria.left(1), 1);
    return call;
}

void updateSession(Session& s, const TerminalParameters& p) {
    s.ModoTrabajo = p.modoTrabajo == u"Detallada"_s ? u"1"_s : u"0"_s;
    s.Nrotel1 = p.nrotel1 == kSi ? u"S"_s : u"N"_s;
    s.Tiempoanular = p.tiempoAnular == kSi ? 1 : 0;
    s.ScreenVuelto = p.screenVuelto == kSi ? u"1"_s : u"0"_s;
    s.VelocidadFax = p.serial;
    s.FilasSalto = number(p.filasSalto).value_or(0);
    s.TipoLetra = p.tipoLetra;
    s.MargenIzquierdo = number(p.margen).value_or(0);
    s.Margen = marginBlanks(p.margen);
    s.PuertoPrinter = p.puertoPrinter.trimmed();
    s.nrocolumnas = number(p.columnas).value_or(0);
    s.ImprimePorLoteria = p.imprimePorLoteria.left(1);
}

QString marginBlanks(const QString& margin) {
    const double blanks = std::round(number(margin).value_or(0));
    return QString(blanks > 0 ? qsizetype(qMin(blanks, 1000.0)) : 0, u' ');
}

}  // namespace vendura
