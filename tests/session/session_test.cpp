#include "session/session.h"
#include "session/server_discovery.h"

#include <gtest/gtest.h>

#include <map>

using namespace vendura;

namespace {

const QStringList kFields = {
    u"Nombre_Usua"_s,    u"Estado_Usua"_s,     u"CodVendEDOR"_s,     u"nrif"_s,
    u"nnit"_s,           u"diascaduca"_s,      u"Tiempoanular"_s,    u"Msgticket"_s,
    u"Direccion_usua"_s, u"MargenIzquierdo"_s, u"permisos"_s,        u"screenvuelto"_s,
    u"codtel2"_s,        u"FilasSalto"_s,      u"TipoLetra"_s,       u"PuertoPrinter"_s,
    u"PuertoFax"_s,      u"VelocidadFax"_s,    u"CodTel1"_s,         u"Nrotel1"_s,
    u"Nrotel2"_s,        u"LetraDisquete"_s,   u"ModoTrabajo"_s,     u"BDONLine"_s,
    u"DIRIP_1"_s,        u"DIRIP_2"_s,         u"DIRIP_OFFLine"_s,   u"BDOFFLINE"_s,
    u"nrocolumnas"_s,    u"claveoffline"_s,    u"longitudpermuta"_s, u"estadovendura"_s,
    u"codarea2"_s};

// A login answer with the given fields set and every other one null.
RecordSet loginRow(const std::map<QString, QString>& set) {
    std::vector<FieldValue> values(kFields.size());
    for (const auto& [field, value] : set) values[kFields.indexOf(field)] = value;
    RecordSet rows(kFields);
    rows.addRow(values);
    return rows;
}

// Null parameters take their defaults; server values are taken as given, or trimmed where the
// counter trims ("print by lottery" from codtel2, trimmed; the second area code from its own
// field, codarea2, as it came).
TEST(Session, NullParametersTakeTheirDefaultsAndServerValuesAreTrimmedWhereTheCounterTrims) {
    Session s;
    s.fillFromLogin(loginRow({{u"codtel2"_s, u" S "_s},
                              {u"codarea2"_s, u"0241 "_s},
                              {u"MargenIzquierdo"_s, u"4"_s},
                              {u"permisos"_s, u" A.-B.- "_s},
                              {u"Msgticket"_s, u""_s}}),
                    u"AGENCIA  "_s, u"1001"_s, u"vendura"_s);
    EXPECT_EQ((QStringList{s.NombreVendedor, s.Usuario, s.Rif, s.Nit, s.ScreenVuelto, s.CodTel2,
                           s.ImprimePorLoteria, s.Permisos, s.Margen, s.Msgticket}),
              (QStringList{u"AGENCIA"_s, u"1001"_s, u"-"_s, u"-"_s, u"0"_s, u"0241 "_s, u"S"_s,
                           u"A.-B.-"_s, u"    "_s, QString()}));
    EXPECT_EQ((QStringList{s.TipoLetra, s.PuertoPrinter, s.PuertoFax, s.Nrotel1, s.LetraDisquete,
                           s.ModoTrabajo, s.ModoTrabajoInicial, s.BDONLine, s.DIRIP_OFFLine,
                           s.BDOFFLINE, s.estadovendura}),
              (QStringList{u"C"_s, u"LPT1"_s, u"COM1"_s, u"N"_s, u"A"_s, u"0"_s, u"0"_s,
                           u"vendura"_s, u"127.0.0.1"_s, u"KALVDATA"_s, QString()}));
    EXPECT_EQ(s.nrocolumnas, 3);
    EXPECT_EQ(s.longitudpermuta, 7);
    s.fillFromLogin(loginRow({}), std::nullopt, u"1001"_s, u"vendura"_s);
    EXPECT_EQ(s.NombreVendedor + u'|' + s.ImprimePorLoteria + u'|' + s.Margen, u"Prueba|N|"_s);
}

// The date goes back to the server in calls as day/month/year.
TEST(Session, TheServerDateIsKeptAsTheCounterWritesIt) {
    Session s;
    ASSERT_TRUE(applyServerDate(s, u"2027-03-03 23:59:59"_s));
    EXPECT_EQ(s.FechaServidor + u' ' + s.HoraServidor, u"03/03/2027 23:59:59"_s);
    EXPECT_FALSE(applyServerDate(s, u"ayer"_s));
}

// What the resolver answers for a name is checked through the login screen.
TEST(ServerDiscovery, AnAddressIsAFieldThatStartsWithANumber) {
    for (const char* address :
         {"127.0.0.1", "10.0.0.5", "192.168.1.1", " 200.1.1.1 ", "1.2.3.4", "8", "10"}) {
        EXPECT_TRUE(looksLikeAddress(QString::fromUtf8(address))) << address;
    }
    // a number parser takes "inf" and "nan" (any case) for numbers; server names begin so
    for (const char* name : {"central", "kalvora-demo", "a10.0.0.1", "x", "srv1", "inf",
                             "infra-central", "INFORMATICA", "nan", "nando-server", "NaN1",
                             "Infinity", "1..2", "-12", "+12", ".", "1e5", "0x1", ""}) {
        EXPECT_FALSE(looksLikeAddress(QString::fromUtf8(name))) << name;
    }
}

}  // namespace
