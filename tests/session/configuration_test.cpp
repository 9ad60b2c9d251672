#include "session/configuration.h"
#include "platform/profile_file.h"
#include "session/installation.h"
#include "session/session.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

class ConfigurationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        installation.programFolder = dir.path();
        installation.defaultResolver = u"10.1.1.1"_s;
    }
    void write(const QString& path, const QByteArray& content) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    // The values of "Section/Key" entries of the file, joined by "|".
    QString read(const QStringList& entries) const {
        QStringList values;
        for (const QString& e : entries) {
            values << ProfileFile(installation.iniPath())
                          .read(e.section(u'/', 0, 0), e.section(u'/', 1));
        }
        return values.join(u'|');
    }
    void loggedIn(Session& s) {
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
    }
    QTemporaryDir dir;
    Installation installation;
};

// A first start shows empty fields and writes the resolver; the first login writes every
// section, the server as it was typed; later logins write only the connection and the user.
TEST_F(ConfigurationTest, TheFirstLoginWritesEverySectionAndLaterOnesOnlyTheConnection) {
    write(installation.serverListPath(), "central\r\n10.0.0.5\n");
    Session s;
    const StartupFields f = LoadConfiguration(s, installation);
    EXPECT_FALSE(f.fileExists);
    EXPECT_EQ(f.servers, (QStringList{u"central"_s, u"10.0.0.5"_s}));
    EXPECT_EQ((QStringList{f.user, f.server, f.database, f.ipEnganche}),
              (QStringList{QString(), QString(), QString(), u"10.1.1.1"_s}));
    EXPECT_EQ(read({u"Comunicaciones/ip_enganche"_s}), u"10.1.1.1"_s);

    loggedIn(s);
    SaveConfigurationAfterLogin(s, installation, false, u"central"_s, u"vendura"_s);
    const QStringList entries{u"Config_Vendura/Direccion"_s,   u"Config_Vendura/PATH_VENDURA"_s,
                              u"Impresion/Diascaduca"_s,       u"Impresion/MargenIzquierdo"_s,
                              u"Impresion/Nrocolumnas"_s,      u"Comunicaciones/DIRIP_1"_s,
                              u"Comunicaciones/BDONLine"_s,    u"Comunicaciones/ModoTrabajo"_s,
                              u"Modo Local/BDOFFLINE"_s,       u"Usuario Actual/NombreUser"_s,
                              u"Usuario Actual/Estado_user"_s, u"Usuario Actual/Usuario"_s};
    EXPECT_EQ(read(entries), u"AV. BOLIVAR|"_s + dir.path() +
                                 u"|3|2|3|central|vendura|1|KALVDATA|ANA PEREZ|A|1001"_s);

    s.Direccion = u"OTRA"_s;
    s.MargenIzquierdo = 9;
    s.Usuario = u"1002"_s;
    SaveConfigurationAfterLogin(s, installation, true, u"10.0.0.1"_s, u"otra"_s);
    EXPECT_EQ(s.DIRIP_1, u"10.0.0.9"_s);  // the address in use
    EXPECT_EQ(read(entries), u"AV. BOLIVAR|"_s + dir.path() +
                                 u"|3|2|3|10.0.0.1|otra|1|KALVDATA|ANA PEREZ|A|1002"_s);
}

// An older installation may have written the file in the Windows code page.
TEST_F(ConfigurationTest, AFileFillsTheSessionAndTheFieldsWhateverItsCodePage) {
    write(installation.iniPath(),
          "[Config_Vendura]\r\nDireccion=Av. Bol\xedvar \xff\xfe\x80\r\n"
          "[Impresion]\r\nMargenIzquierdo=3\r\nNrocolumnas=x\r\n"
          "[Comunicaciones]\r\nDIRIP_1=10.0.0.5\r\nBDONLine=vendura\r\nip_enganche=10.2.2.2\r\n"
          "[Usuario Actual]\r\nUsuario=1001\r\nVendedor=00012\r\n");
    Session s;
    const StartupFields f = LoadConfiguration(s, installation);
    EXPECT_TRUE(f.fileExists);
    EXPECT_EQ(
        (QStringList{f.user, f.server, f.database, f.ipEnganche, s.Margen, s.CodVendedor}),
        (QStringList{u"1001"_s, u"10.0.0.5"_s, u"vendura"_s, u"10.2.2.2"_s, u"   "_s, u"00012"_s}));
    EXPECT_EQ(s.nrocolumnas, 0);  // not a number reads as 0
    EXPECT_EQ(s.Direccion, QString::fromLatin1("Av. Bol\xedvar \xff\xfe\x80"));
}

}  // namespace
