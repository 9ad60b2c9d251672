#include "platform/profile_file.h"
#include "platform/result.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

class ProfileFileTest : public ::testing::Test {
  protected:
    QString write(const QByteArray& content) {
        QFile f(path());
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path();
    }
    QString path() const { return dir.filePath(u"VENDURA.INI"_s); }
    QByteArray content() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(ProfileFileTest, ReadsLikeTheWindowsProfileCalls) {
    write(
        "; installed by hand\r\n"
        "[Usuario Actual]\r\n"
        "  Usuario =  1001  \r\n"
        "NombreUser=\"ANA PEREZ\"\r\n"
        "[ comunicaciones ]\n"
        "DIRIP_1=10.0.0.5\n"
        "[Usuario Actual]\n"
        "Usuario=9999\n");
    const ProfileFile ini(path());
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"Usuario Actual", "Usuario", "1001"},  // first section of a name wins, blanks trimmed
        {"usuario actual", "USUARIO", "1001"},  // letter case ignored
        {"Usuario Actual", "NombreUser", "ANA PEREZ"},  // quotes taken off
        {"Comunicaciones", "DIRIP_1", "10.0.0.5"},      // blanks inside the brackets ignored
        {"Comunicaciones", "DIRIP_2", ""},              // missing key
        {"Impresion", "TipoLetra", ""},                 // missing section
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ini.read(QString::fromUtf8(c.section), QString::fromUtf8(c.key)),
                  QString::fromUtf8(c.expected))
            << c.section << "/" << c.key;
    }
    EXPECT_EQ(ProfileFile(dir.filePath(u"none.ini"_s)).read(u"A"_s, u"B"_s), QString());
}

TEST_F(ProfileFileTest, AReadReturnsWhatA255CharacterBufferHolds) {
    write("[Config_Vendura]\r\nDireccion=" + QByteArray(300, 'x') + "\r\n");
    EXPECT_EQ(ProfileFile(path()).read(u"Config_Vendura"_s, u"Direccion"_s).size(), 254);
}

TEST_F(ProfileFileTest, WriteCreatesFileAndSectionAndReplacesInPlace) {
    const ProfileFile ini(path());
    ini.write(u"Usuario Actual"_s, u"Usuario"_s, u"1001"_s);
    ini.write(u"Comunicaciones"_s, u"DIRIP_1"_s, u"10.0.0.5"_s);
    ini.write(u"Usuario Actual"_s, u"Vendedor"_s, u"00012"_s);
    ini.write(u"usuario actual"_s, u"USUARIO"_s, u"1002"_s);
    EXPECT_EQ(content(),
              "[Usuario Actual]\r\nUSUARIO=1002\r\nVendedor=00012\r\n"
              "[Comunicaciones]\r\nDIRIP_1=10.0.0.5\r\n");
}

TEST_F(ProfileFileTest, WriteKeepsCommentsAndOtherSections) {
    write("; do not edit\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ProfileFile(path()).write(u"A"_s, u"z"_s, u"3"_s);
    EXPECT_EQ(content(), "; do not edit\r\n[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n");
}

TEST_F(ProfileFileTest, AValueWithLineBreaksStaysOnItsLine) {
    const ProfileFile ini(path());
    ini.write(u"A"_s, u"k"_s, u"uno\r\n[B]\r\nx=2"_s);
    EXPECT_EQ(ini.read(u"A"_s, u"k"_s), u"uno  [B]  x=2"_s);
    EXPECT_EQ(ini.read(u"B"_s, u"x"_s), QString());
}

TEST_F(ProfileFileTest, TextThatIsNotUtf8IsReadAsLatin1) {
    write("[Config_Vendura]\r\nDireccion=Calle \xd1u\xf1oa \xff\xfe\r\n");
    EXPECT_EQ(ProfileFile(path()).read(u"Config_Vendura"_s, u"Direccion"_s),
              QString::fromLatin1("Calle \xd1u\xf1oa \xff\xfe"));
}

}  // namespace
