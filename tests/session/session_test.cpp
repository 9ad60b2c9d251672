#include "session/session.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

RecordSet loginRow(const QStringList& fields, const std::vector<FieldValue>& values) {
    RecordSet rows(fields);
    rows.addRow(values);
    return rows;
}

const QStringList kFields = {
    u"Nombre_Usua"_s,    u"Estado_Usua"_s,     u"CodVendEDOR"_s,     u"nrif"_s,
    u"nnit"_s,           u"diascaduca"_s,      u"Tiempoanular"_s,    u"Msgticket"_s,
    u"Direccion_usua"_s, u"MargenIzquierdo"_s, u"permisos"_s,        u"screenvuelto"_s,
    u"codtel2"_s,        u"FilasSalto"_s,      u"TipoLetra"_s,       u"PuertoPrinter"_s,
    u"PuertoFax"_s,      u"VelocidadFax"_s,    u"CodTel1"_s,         u"Nrotel1"_s,
    u"Nrotel2"_s,        u"LetraDisquete"_s,   u"ModoTrabajo"_s,     u"BDONLine"_s,
    u"DIRIP_1"_s,        u"DIRIP_2"_s,         u"DIRIP_OFFLine"_s,   u"BDOFFLINE"_s,
    u"nrocolumnas"_s,    u"claveoffline"_s,    u"longitudpermuta"_s, u"estadovendura"_s};

TEST(Session, NullParametersTakeTheirDefaults) {
    Session s;
    s.fillFromLogin(loginRow(kFields, std::vector<FieldValue>(kFields.size())), std::nullopt,
                    u"1001"_s, u"vendura"_s);
    EXPECT_EQ(s.NombreVendedor, u"Prueba"_s);
    EXPECT_EQ(s.Usuario, u"1001"_s);
    EXPECT_EQ(s.Rif, u"-"_s);
    EXPECT_EQ(s.Nit, u"-"_s);
    EXPECT_EQ(s.DiasValidez, 0);
    EXPECT_EQ(s.ScreenVuelto, u"0"_s);
    EXPECT_EQ(s.ImprimePorLoteria, u"N"_s);
    EXPECT_EQ(s.TipoLetra, u"C"_s);
    EXPECT_EQ(s.PuertoPrinter, u"LPT1"_s);
    EXPECT_EQ(s.PuertoFax, u"COM1"_s);
    EXPECT_EQ(s.Nrotel1, u"N"_s);
    EXPECT_EQ(s.LetraDisquete, u"A"_s);
    EXPECT_EQ(s.ModoTrabajo, u"0"_s);
    EXPECT_EQ(s.ModoTrabajoInicial, u"0"_s);
    EXPECT_EQ(s.BDONLine, u"vendura"_s);
    EXPECT_EQ(s.DIRIP_OFFLine, u"127.0.0.1"_s);
    EXPECT_EQ(s.BDOFFLINE, u"KALVDATA"_s);
    EXPECT_EQ(s.nrocolumnas, 3);
    EXPECT_EQ(s.longitudpermuta, 7);
    EXPECT_EQ(s.Margen, QString());
    EXPECT_TRUE(s.estadovendura.isEmpty());
}

TEST(Session, ServerValuesAreTakenAsGivenOrTrimmedWhereTheCounterTrims) {
    std::vector<FieldValue> values(kFields.size());
    auto set = [&](const QString& field, const QString& v) { values[kFields.indexOf(field)] = v; };
    set(u"codtel2"_s, u" S "_s);
    set(u"MargenIzquierdo"_s, u"4"_s);
    set(u"permisos"_s, u" A.-B.- "_s);
    set(u"Msgticket"_s, u""_s);
    set(u"diascaduca"_s, u"3"_s);
    set(u"nrocolumnas"_s, u"2"_s);
    Session s;
    s.fillFromLogin(loginRow(kFields, values), u"AGENCIA  "_s, u"1001"_s, u"db"_s);
    EXPECT_EQ(s.NombreVendedor, u"AGENCIA"_s);
    EXPECT_EQ(s.CodTel2, u" S "_s);          // as it came
    EXPECT_EQ(s.ImprimePorLoteria, u"S"_s);  // trimmed
    EXPECT_EQ(s.Permisos, u"A.-B.-"_s);
    EXPECT_EQ(s.Margen, u"    "_s);
    EXPECT_EQ(s.Msgticket, QString());  // an empty string stays empty
    EXPECT_EQ(s.DiasValidez, 3);
    EXPECT_EQ(s.nrocolumnas, 2);
}

TEST(Session, TheServerDateGivesDayAndMonthInSpanish) {
    Session s;
    ASSERT_TRUE(applyServerDate(s, u"2026-12-06 09:05:07"_s));
    EXPECT_EQ(s.FechaServidor, u"06/12/2026"_s);
    EXPECT_EQ(s.HoraServidor, u"09:05:07"_s);
    EXPECT_EQ(s.DiaSemana, 7);
    EXPECT_EQ(s.NombreDia, u"domingo"_s);
    EXPECT_EQ(s.Mes, 12);
    EXPECT_EQ(s.NombreMes, u"diciembre"_s);
    ASSERT_TRUE(applyServerDate(s, u"2027-03-03 23:59:59"_s));
    EXPECT_EQ(s.NombreDia, u"miércoles"_s);
    EXPECT_FALSE(applyServerDate(s, u"ayer"_s));
}

}  // namespace
