#include "session/configuration.h"

#include "platform/files.h"
#include "platform/profile_file.h"
#include "session/installation.h"
#include "session/session.h"

namespace vendura {
namespace {

const QString kConfig = u"Config_Vendura"_s;
const QString kPrint = u"Impresion"_s;
const QString kComms = u"Comunicaciones"_s;
const QString kLocal = u"Modo Local"_s;
const QString kUser = u"Usuario Actual"_s;

double readNumber(const ProfileFile& ini, const QString& section, const QString& key) {
    bool ok = false;
    const double d = ini.read(section, key).toDouble(&ok);
    return ok ? d : 0;
}

QString plainNumber(double d) {
    return QString::number(d, 'g', 15);
}

}  // namespace

StartupFields LoadConfiguration(Session& s, const Installation& installation) {
    StartupFields fields;
    fields.servers = files::lines(installation.serverListPath());
    const ProfileFile ini(installation.iniPath());
    fields.fileExists = ini.exists();
    if (fields.fileExists) {
        s.Direccion = ini.read(kConfig, u"Direccion"_s);
        ini.read(kConfig, u"PATH_VENDURA"_s);
        s.Diascaduca = readNumber(ini, kPrint, u"Diascaduca"_s);
        s.MargenIzquierdo = readNumber(ini, kPrint, u"MargenIzquierdo"_s);
        s.rebuildMargen();
        s.FilasSalto = readNumber(ini, kPrint, u"FilasSalto"_s);
        s.TipoLetra = ini.read(kPrint, u"TipoLetra"_s);
        s.PuertoPrinter = ini.read(kPrint, u"PuertoPrinter"_s);
        s.nrocolumnas = readNumber(ini, kPrint, u"Nrocolumnas"_s);
        s.PuertoFax = ini.read(kComms, u"PuertoFax"_s);
        s.VelocidadFax = ini.read(kComms, u"VelocidadFax"_s);
        s.CodTel1 = ini.read(kComms, u"CodTel1"_s);
        s.Nrotel1 = ini.read(kComms, u"Nrotel1"_s);
        s.CodTel2 = ini.read(kComms, u"CodTel2"_s);
        s.Nrotel2 = ini.read(kComms, u"Nrotel2"_s);
        s.LetraDisquete = ini.read(kComms, u"LetraDisquete"_s);
        s.ModoTrabajo = ini.read(kComms, u"ModoTrabajo"_s);
        s.BDONLine = ini.read(kComms, u"BDONLine"_s);
        s.DIRIP_1 = ini.read(kComms, u"DIRIP_1"_s);
        s.DIRIP_2 = ini.read(kComms, u"DIRIP_2"_s);
        s.DIRIP_OFFLine = ini.read(kLocal, u"DIRIP_OFFLine"_s);
        s.BDOFFLINE = ini.read(kLocal, u"BDOFFLINE"_s);
        s.claveoffline = ini.read(kLocal, u"ClaveOffLine"_s);
        s.CodVendedor = ini.read(kUser, u"Vendedor"_s);
        s.Usuario = ini.read(kUser, u"Usuario"_s);
        s.NombreUsuario = ini.read(kUser, u"NombreUser"_s);
        s.EstadoUsuario = ini.read(kUser, u"Estado_user"_s);
        fields.user = s.Usuario;
        fields.server = s.DIRIP_1;
        fields.database = s.BDONLine;
    }
    fields.ipEnganche = ini.read(kComms, u"ip_enganche"_s);
    if (fields.ipEnganche.isEmpty()) {
        fields.ipEnganche = installation.defaultResolver;
        ini.write(kComms, u"ip_enganche"_s, fields.ipEnganche);
    }
    fields.updateHost = ini.read(kComms, u"HostActualizacion"_s);
    if (fields.updateHost.isEmpty()) fields.updateHost = installation.defaultUpdateHost;
    return fields;
}

void SaveConfigurationAfterLogin(Session& s, const Installation& installation, bool fileExisted,
                                 const QString& serverField, const QString& databaseField) {
    const ProfileFile ini(installation.iniPath());
    if (!fileExisted) {
        ini.write(kConfig, u"Direccion"_s, s.Direccion);
        ini.write(kConfig, u"PATH_VENDURA"_s, installation.programFolder);
        ini.write(kPrint, u"Diascaduca"_s, plainNumber(s.Diascaduca));
        ini.write(kPrint, u"MargenIzquierdo"_s, plainNumber(s.MargenIzquierdo));
        ini.write(kPrint, u"FilasSalto"_s, plainNumber(s.FilasSalto));
        ini.write(kPrint, u"TipoLetra"_s, s.TipoLetra);
        ini.write(kPrint, u"PuertoPrinter"_s, s.PuertoPrinter);
        ini.write(kPrint, u"Nrocolumnas"_s, plainNumber(s.nrocolumnas));
        ini.write(kComms, u"PuertoFax"_s, s.PuertoFax);
        ini.write(kComms, u"VelocidadFax"_s, s.VelocidadFax);
        ini.write(kComms, u"CodTel1"_s, s.CodTel1);
        ini.write(kComms, u"Nrotel1"_s, s.Nrotel1);
        ini.write(kComms, u"CodTel2"_s, s.CodTel2);
        ini.write(kComms, u"Nrotel2"_s, s.Nrotel2);
        ini.write(kComms, u"LetraDisquete"_s, s.LetraDisquete);
        ini.write(kComms, u"ModoTrabajo"_s, s.ModoTrabajo);
        ini.write(kComms, u"BDONLine"_s, databaseField);
        ini.write(kComms, u"DIRIP_1"_s, serverField);
        ini.write(kComms, u"DIRIP_2"_s, s.DIRIP_2);
        ini.write(kLocal, u"DIRIP_OFFLine"_s, s.DIRIP_OFFLine);
        ini.write(kLocal, u"BDOFFLINE"_s, s.BDOFFLINE);
        ini.write(kLocal, u"ClaveOffLine"_s, s.claveoffline);
    } else {
        s.DIRIP_1 = s.Servidor;
        ini.write(kComms, u"ModoTrabajo"_s, s.ModoTrabajo);
        ini.write(kComms, u"BDONLine"_s, databaseField);
        ini.write(kComms, u"DIRIP_1"_s, serverField);
    }
    ini.write(kUser, u"Vendedor"_s, s.CodVendedor);
    ini.write(kUser, u"Usuario"_s, s.Usuario);
    ini.write(kUser, u"NombreUser"_s, s.NombreUsuario);
    ini.write(kUser, u"Estado_user"_s, s.EstadoUsuario);
}

}  // namespace vendura
