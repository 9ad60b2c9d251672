#pragma once

#include "platform/database_gateway.h"

#include <QString>

#include <memory>

namespace vendura {

// The process-wide record of the logged-in seller, the terminal's parameters and the one
// connection to the central database. Created empty at start, filled by the start-up screen
// and the login, read by every screen.
struct Session {
    QString Servidor;
    QString BaseDatos;
    std::unique_ptr<DatabaseGateway> Conexion;

    QString CodVendedor;
    QString NombreVendedor;
    QString Usuario;
    QString NombreUsuario;
    QString EstadoUsuario;
    QString Rif;
    QString Nit;
    qint16 DiasValidez = 0;
    double Diascaduca = 0;
    double Tiempoanular = 0;
    QString Msgticket;
    QString Direccion;
    double MargenIzquierdo = 0;
    QString Margen;
    QString Permisos;
    QString ScreenVuelto;
    QString ImprimePorLoteria;
    double FilasSalto = 0;
    QString TipoLetra;
    QString PuertoPrinter;
    QString PuertoFax;
    QString VelocidadFax;
    QString CodTel1;
    QString Nrotel1;
    QString CodTel2;
    QString Nrotel2;
    QString LetraDisquete;
    QString ModoTrabajo;
    QString ModoTrabajoInicial;
    QString BDONLine;
    QString DIRIP_1;
    QString DIRIP_2;
    QString DIRIP_OFFLine;
    QString BDOFFLINE;
    double nrocolumnas = 0;
    QString claveoffline;
    qint16 longitudpermuta = 0;
    QString estadovendura;
    QString NroTicketTmp;

    QString FechaServidor;
    QString HoraServidor;
    qint16 DiaSemana = 0;
    QString NombreDia;
    qint16 Mes = 0;
    QString NombreMes;

    // Colours as 0xRRGGBB: the focus colour is light cyan (blue FF, green FF, red C0).
    quint32 ColorFoco = 0xC0FFFF;
    quint32 ColorNormal = 0xFFFFFF;

    // Values the ticket printing reads: the date and time the server gave the last ticket,
    // and the customer of a prize payment (empty unless one was taken).
    QString FechaTicket;
    QString HoraTicket;
    QString ClienteCedula;
    QString ClienteNombre;
    QString CodigoCliente;

    // Fills the record from the first row of the login answer, with the defaults for nulls.
    // typedUser and typedDatabase are the login screen's fields; xmodo the vendor's name.
    void fillFromLogin(const RecordSet& rows, const FieldValue& xmodo, const QString& typedUser,
                       const QString& typedDatabase);
    // Margen: one blank for each whole number from 1 to MargenIzquierdo.
    void rebuildMargen();
};

// "dd/mm/yyyy" and "HH:mm:ss" of a server timestamp text "yyyy-mm-dd hh:mm:ss", with the
// weekday (Monday 1) and month and their Spanish names. False when the text is no timestamp.
bool applyServerDate(Session& session, const QString& timestamp);

}  // namespace vendura
