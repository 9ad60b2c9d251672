#include "session/configuration.h"
#include "platform/files.h"
#include "platform/profile_file.h"
#include "session/installation.h"
#include "session/session.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// A first start shows empty fields and writes the resolver; the first login writes every
// section, the server as it was typed; later logins write only the connection and the user.
TEST(Configuration, TheFirstLoginWritesEverySectionAndLaterOnesOnlyTheConnection) {
    QTemporaryDir dir;
    Installation installation;
    installation.programFolder = dir.path();
    installation.defaultResolver = u"10.1.1.1"_s;
    ASSERT_TRUE(files::append(installation.serverListPath(), "central\r\n10.0.0.5\n").ok());
    const QStringList entries{u"Comunicaciones/ip_enganche"_s,  u"Config_Vendura/Direccion"_s,
                              u"Config_Vendura/PATH_VENDURA"_s, u"Impresion/Diascaduca"_s,
                              u"Impresion/MargenIzquierdo"_s,   u"Impresion/Nrocolumnas"_s,
                              u"Comunicaciones/DIRIP_1"_s,      u"Comunicaciones/BDONLine"_s,
                              u"Comunicaciones/ModoTrabajo"_s,  u"Modo Local/BDOFFLINE"_s,
                              u"Usuario Actual/NombreUser"_s,   u"Usuario Actual/Estado_user"_s,
                              u"Usuario Actual/Usuario"_s};
    auto written = [&] {
        QStringList values;
        for (const QString& e : entries) {
            values << ProfileFile(installation.iniPath())
                          .read(e.section(u'/', 0, 0), e.section(u'/', 1));
        }
        return values.join(u'|');
    };

    Session s;
    const StartupFields f = LoadConfiguration(s, installation);
    EXPECT_FALSE(f.fileExists);
    EXPECT_EQ(f.servers, (QStringList{u"central"_s, u"10.0.0.5"_s}));
    EXPECT_EQ((QStringList{f.user, f.server, f.database, f.ipEnganche}),
              (QStringList{QString(), QString(), QString(), u"10.1.1.1"_s}));
    EXPECT_EQ(written(), u"10.1.1.1||||||||||||"_s);

    s.Servidor = u"10.0.0.9"_s;
    s.CodVendedor = u"00012"_s;
    s.Usuario = u"1001"_s;
    s.NombreUsuario = u"ANA PEREZ"_s;
    s.EstadoUsuario = u"A"_s;
    s.Direccion = u"AV. BOLIVAR"_s;
    s.Diascaduca = 3;
    s.MargenIzquierdo = 2;
    s.nrocolumnas = 3;
    s.ModoTrabajo = u"1"_s;
    s.BDOFFLINE = u"KALVDATA"_s;
    SaveConfigurationAfterLogin(s, installation, false, u"central"_s, u"vendura"_s);
    const QString folder = dir.path();
    EXPECT_EQ(written(), u"10.1.1.1|AV. BOLIVAR|"_s + folder +
                             u"|3|2|3|central|vendura|1|KALVDATA|ANA PEREZ|A|1001"_s);

    s.Direccion = u"OTRA"_s;
    s.MargenIzquierdo = 9;
    s.Usuario = u"1002"_s;
    SaveConfigurationAfterLogin(s, installation, true, u"10.0.0.1"_s, u"otra"_s);
    EXPECT_EQ(s.DIRIP_1, u"10.0.0.9"_s);  // the address in use
    EXPECT_EQ(written(), u"10.1.1.1|AV. BOLIVAR|"_s + folder +
                             u"|3|2|3|10.0.0.1|otra|1|KALVDATA|ANA PEREZ|A|1002"_s);
}

}  // namespace
