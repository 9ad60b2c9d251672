#include "session/parameters.h"
#include "session/session.h"

#include <QMap>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// The screen of a sales point whose seller emptied the serial settings and chose normal print:
// the combos, then the text fields, in the order TerminalParameters declares them.
TerminalParameters edited() {
    return {u"LPT1"_s,      u"COM2"_s,     u"9600"_s,     u"Detallada"_s, u"Si"_s,
            u"No"_s,        u"Si"_s,       u"Normal"_s,   u"Si"_s,        u"3"_s,
            u"KALVDATA"_s,  u"secreta"_s,  u"2.7"_s,      u"4"_s,         u"3"_s,
            u"C"_s,         u"A"_s,        u"0212"_s,     u"0241"_s,      u"5550000"_s,
            u"127.0.0.1"_s, u"10.0.0.2"_s, u"10.0.0.1"_s, u"vendura"_s,   QString()};
}

TEST(Parameters, TheSaveSendsEveryParameterInTheServersOrderAfterTheSavingRules) {
    Session s;
    s.CodVendedor = u"00012"_s;
    s.Usuario = u"1001 "_s;
    TerminalParameters p = edited();
    applySavingRules(p);
    QStringList sent;
    const ProcedureCall call = grabaParametros(s, p);
    for (const Parameter& x : call.parameters) sent << x.name + u'=' + x.value.value_or(u"-"_s);
    EXPECT_EQ(call.name, u"GRABA_PARAMETROS_USUARIO"_s);
    EXPECT_EQ(sent.join(u' '),
              u"@Xcodvendedor=00012 @Xusuario=1001 @XDiascaduca=3 @XMargenIzquierdo=2.7 "
              u"@XFilasSalto=4 @XTipoLetra=N @XPuertoPrinter=LPT1 @XPuertoFax=COM2 "
              u"@XVelocidadFax=9600,8,N,1  @XCodTel1=0212 @XNrotel1=N @XCodTel2=0241 "
              u"@XNrotel2=5550000 @XLetraDisquete=A @XModoTrabajo=1 @XBDONLine=vendura "
              u"@XDIRIP_1=10.0.0.1 @XDIRIP_2=10.0.0.2 @XDIRIP_OFFLine=127.0.0.1 "
              u"@XBDOFFLINE=KALVDATA @Xnrocolumnas=3 @Xclaveoffline=secreta @XTIEMPOANULAR=1 "
              u"@Xscreenvuelto=1 @implot=S"_s);

    // the other side of every choice; anything but "Normal" prints compressed
    p.modoTrabajo = u"Resumida"_s;
    p.tiempoAnular = p.screenVuelto = p.imprimePorLoteria = u"No"_s;
    p.nrotel1 = u"Si"_s;
    p.impresion = u"Comprimida"_s;
    p.serial = u"4800,7,E,2"_s;
    applySavingRules(p);
    QMap<QString, QString> by;
    for (const Parameter& x : grabaParametros(s, p).parameters) by[x.name] = *x.value;
    EXPECT_EQ(QStringList({by[u"@XModoTrabajo"_s], by[u"@XTIEMPOANULAR"_s], by[u"@Xscreenvuelto"_s],
                           by[u"@implot"_s], by[u"@XNrotel1"_s], by[u"@XTipoLetra"_s],
                           by[u"@XVelocidadFax"_s]}),
              QStringList({u"0"_s, u"0"_s, u"0"_s, u"N"_s, u"S"_s, u"C"_s, u"4800,7,E,2"_s}));
}

// The margin travels in blanks, rounded; anything but a number gives none.
TEST(Parameters, TheMarginBecomesBlanks) {
    for (const auto& [margin, blanks] : {std::pair{"2.4", 2},
                                         {"2,5", 3},
                                         {"2.7", 3},
                                         {"0", 0},
                                         {"", 0},
                                         {"x", 0},
                                         {"-3", 0},
                                         {"1e9", 1000}}) {
        EXPECT_EQ(marginBlanks(QString::fromLatin1(margin)), QString(blanks, u' ')) << margin;
    }
}

TEST(Parameters, ValuesTheServerWouldRefuseAreCaughtFirstWithTheirField) {
    struct Case {
        QString TerminalParameters::*field;
        const char* value;
        const char* control;
        const char* message;
    } cases[] = {
        {&TerminalParameters::margen, "41", "Text4", "El margen izquierdo debe estar entre 0 y 40"},
        {&TerminalParameters::columnas, "0", "Text6",
         "El número de columnas debe estar entre 1 y 6"},
        {&TerminalParameters::filasSalto, "61", "Text5",
         "El número de filas de salto debe estar entre 0 y 60"},
        {&TerminalParameters::diasCaduca, "", "Text1",
         "El número de días de caducidad debe estar entre 0 y 999"},
    };
    EXPECT_FALSE(checkParameters(edited()).has_value());
    for (const Case& c : cases) {
        TerminalParameters p = edited();
        p.*c.field = QString::fromLatin1(c.value);
        const auto problem = checkParameters(p);
        ASSERT_TRUE(problem.has_value()) << c.control << "=" << c.value;
        EXPECT_EQ(problem->message, QString::fromUtf8(c.message));
        EXPECT_STREQ(problem->control, c.control);
    }
}

}  // namespace
