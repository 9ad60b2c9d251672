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
    ProfileFile ini() const { return ProfileFile(installation.iniPath()); }
    QString read(const char* section, const char* key) const {
        return ini().read(QString::fromUtf8(section), QString::fromUtf8(key));
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

TEST_F(ConfigurationTest, AFirstStartShowsEmptyFieldsAndWritesTheResolver) {
    QFile servers(installation.serverListPath());
    ASSERT_TRUE(servers.open(QIODevice::WriteOnly));
    servers.write("central\r\n10.0.0.5\n");
    servers.close();

    Session s;
    const StartupFields f = LoadConfiguration(s, installation);
    EXPECT_FALSE(f.fileExists);
    EXPECT_EQ(f.servers, (QStringList{u"central"_s, u"10.0.0.5"_s}));
    EXPECT_TRUE(f.user.isEmpty() && f.server.isEmpty() && f.database.isEmpty());
    EXPECT_EQ(f.ipEnganche, u"10.1.1.1"_s);
    EXPECT_EQ(read("Comunicaciones", "ip_enganche"), u"10.1.1.1"_s);
}

// An older installation may have written the file in the Windows code page.
TEST_F(ConfigurationTest, AFileFillsTheSessionAndTheFieldsWhateverItsCodePage) {
    {
        QFile f(installation.iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "[Config_Vendura]\r\nDireccion=Av. Bol\xedvar \xff\xfe\x80\r\n"
            "[Impresion]\r\nMargenIzquierdo=3\r\nNrocolumnas=x\r\n"
            "[Comunicaciones]\r\nDIRIP_1=10.0.0.5\r\nBDONLine=vendura\r\nip_enganche=10.2.2.2\r\n"
            "[Usuario Actual]\r\nUsuario=1001\r\nVendedor=00012\r\n");
    }
    Session s;
    const StartupFields f = LoadConfiguration(s, installation);
    EXPECT_TRUE(f.fileExists);
    EXPECT_EQ(
        (QStringList{f.user, f.server, f.database, f.ipEnganche, s.Margen, s.CodVendedor}),
        (QStringList{u"1001"_s, u"10.0.0.5"_s, u"vendura"_s, u"10.2.2.2"_s, u"   "_s, u"00012"_s}));
    EXPECT_EQ(s.nrocolumnas, 0);  // not a number reads as 0
    EXPECT_EQ(s.Direccion, QString::fromLatin1("Av. Bol\xedvar \xff\xfe\x80"));
}

TEST_F(ConfigurationTest, AfterTheFirstLoginTheFileHoldsEverySection) {
    Session s;
    loggedIn(s);
    SaveConfigurationAfterLogin(s, installation, false, u"central"_s, u"vendura"_s);
    EXPECT_EQ(read("Config_Vendura", "Direccion"), u"AV. BOLIVAR"_s);
    EXPECT_EQ(read("Config_Vendura", "PATH_VENDURA"), installation.programFolder);
    EXPECT_EQ(read("Impresion", "Diascaduca"), u"3"_s);
    EXPECT_EQ(read("Impresion", "MargenIzquierdo"), u"2"_s);
    EXPECT_EQ(read("Impresion", "Nrocolumnas"), u"3"_s);
    EXPECT_EQ(read("Comunicaciones", "DIRIP_1"), u"central"_s);  // the field as typed
    EXPECT_EQ(read("Comunicaciones", "BDONLine"), u"vendura"_s);
    EXPECT_EQ(read("Comunicaciones", "ModoTrabajo"), u"1"_s);
    EXPECT_EQ(read("Modo Local", "BDOFFLINE"), u"KALVDATA"_s);
    EXPECT_EQ(read("Usuario Actual", "NombreUser"), u"ANA PEREZ"_s);
    EXPECT_EQ(read("Usuario Actual", "Estado_user"), u"A"_s);
}

TEST_F(ConfigurationTest, LaterLoginsWriteOnlyTheConnectionAndTheUser) {
    ini().write(u"Impresion"_s, u"MargenIzquierdo"_s, u"9"_s);
    ini().write(u"Comunicaciones"_s, u"DIRIP_1"_s, u"10.0.0.1"_s);
    Session s;
    loggedIn(s);
    SaveConfigurationAfterLogin(s, installation, true, u"central"_s, u"otra"_s);
    EXPECT_EQ(s.DIRIP_1, u"10.0.0.9"_s);  // the address in use
    EXPECT_EQ(read("Impresion", "MargenIzquierdo"), u"9"_s);
    EXPECT_EQ(read("Comunicaciones", "DIRIP_1"), u"central"_s);
    EXPECT_EQ(read("Comunicaciones", "BDONLine"), u"otra"_s);
    EXPECT_EQ(read("Config_Vendura", "Direccion"), QString());
    EXPECT_EQ(read("Usuario Actual", "Usuario"), u"1001"_s);
}

}  // namespace
