#include "platform/profile_file.h"
#include "platform/result.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// A file an older installation wrote in the Windows code page is read as Latin-1.
TEST(ProfileFile, ReadsLikeTheWindowsProfileCalls) {
    QTemporaryDir dir;
    QFile f(dir.filePath(u"VENDURA.INI"_s));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "; installed by hand\r\n[Usuario Actual]\r\n  Usuario =  1001  \r\n"
        "NombreUser=\"ANA PEREZ\"\r\n[ comunicaciones ]\nDIRIP_1=10.0.0.5\n"
        "[Usuario Actual]\nUsuario=9999\n[Config_Vendura]\r\n"
        "Direccion=Calle \xd1u\xf1oa \xff\xfe\r\nLargo=" +
        QByteArray(300, 'x') + "\r\n");
    f.close();
    const ProfileFile ini(f.fileName());
    const std::tuple<const char*, const char*, QString> cases[] = {
        {"Usuario Actual", "Usuario", u"1001"_s},  // first section of a name wins, blanks trimmed
        {"usuario actual", "USUARIO", u"1001"_s},  // letter case ignored
        {"Usuario Actual", "NombreUser", u"ANA PEREZ"_s},  // quotes taken off
        {"Comunicaciones", "DIRIP_1", u"10.0.0.5"_s},      // blanks inside the brackets ignored
        {"Comunicaciones", "DIRIP_2", QString()},          // missing key
        {"Impresion", "TipoLetra", QString()},             // missing section
        {"Config_Vendura", "Direccion", QString::fromLatin1("Calle \xd1u\xf1oa \xff\xfe")},
        {"Config_Vendura", "Largo", QString(254, u'x')}};  // what a 255-character buffer holds
    for (const auto& [section, key, expected] : cases) {
        EXPECT_EQ(ini.read(QString::fromUtf8(section), QString::fromUtf8(key)), expected) << key;
    }
    EXPECT_EQ(ProfileFile(dir.filePath(u"none.ini"_s)).read(u"A"_s, u"B"_s), QString());
}

// New keys go at the end of their section, new sections at the end of the file; a key is
// replaced where it stands, comments and blank lines stay, and a value never adds a line.
TEST(ProfileFile, WritesInPlaceKeepingTheRestOfTheFile) {
    QTemporaryDir dir;
    QFile f(dir.filePath(u"VENDURA.INI"_s));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; do not edit\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    f.close();
    const ProfileFile ini(f.fileName());
    ini.write(u"A"_s, u"z"_s, u"3"_s);
    ini.write(u"Usuario Actual"_s, u"Usuario"_s, u"1001"_s);
    ini.write(u"usuario actual"_s, u"USUARIO"_s, u"1002"_s);
    ini.write(u"b"_s, u"k"_s, u"uno\r\n[C]\r\nx=2"_s);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
              "; do not edit\r\n[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\nk=uno  [C]  x=2\r\n"
              "[Usuario Actual]\r\nUSUARIO=1002\r\n");
    EXPECT_EQ(ini.read(u"C"_s, u"x"_s), QString());
}

}  // namespace
