#pragma once

#include "platform/database_gateway.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vendura {

struct Session;

// The terminal's parameters as the parameter screen holds them, one text per control.
struct TerminalParameters {
    QString puertoPrinter;      // Combo1
    QString puertoFax;          // Combo2
    QString velocidad;          // Combo3, shown only
    QString modoTrabajo;        // Combo4: "Resumida" or "Detallada"
    QString tiempoAnular;       // Combo5: "Si" or "No"
    QString nrotel1;            // Combo6: "Si" or "No"
    QString screenVuelto;       // Combo7: "Si" or "No"
    QString impresion;          // Combo8: "Normal" or "Comprimida"
    QString imprimePorLoteria;  // Combo9: "Si" or "No"
    QString diasCaduca;         // Text1, the central office's: shown, sent, ignored by the server
    QString bdOffline;          // Text2
    QString claveOffline;       // Text3
    QString margen;             // Text4
    QString filasSalto;         // Text5
    QString columnas;           // Text6
    QString tipoLetra;          // Text7: "C" or "N"
    QString letraDisquete;      // Text8
    QString codTel1;            // Text9
    QString codTel2;            // Text11
    QString nrotel2;            // Text12
    QString dirOffline;         // Text13
    QString dirip2;             // Text14
    QString dirip1;             // Text15
    QString bdOnline;           // Text16
    QString serial;             // Text17: serial printer settings
};

namespace choices {
const QStringList& printerPorts();  // "LPT1".."LPT4", "COM1".."COM4"
const QStringList& faxPorts();      // "COM1".."COM4"
const QStringList& lineSpeeds();    // "300".."115200"
const QStringList& listForms();     // "Resumida", "Detallada"
const QStringList& printTypes();    // "Normal", "Comprimida"
const QStringList& yesNo();         // "Si", "No"
const QStringList& workingModes();  // on line, off line, mixed: shown, never sent
}  // namespace choices

// What an empty serial settings field is saved as, trailing blank included.
extern const QString kSerialPorDefecto;

// "ver_usuario" for the seller of the session.
ProcedureCall ver_usuario(const Session& session);
// The controls filled from the first row of "ver_usuario" (the fields of the login; nulls read
// as the login's defaults).
TerminalParameters parametersFromRow(const RecordSet& rows);

// A value the server would refuse, found before anything is sent: the message and the
// control to go back to.
struct ParameterProblem {
    QString message;
    const char* control;
};
std::optional<ParameterProblem> checkParameters(const TerminalParameters& p);

// Step 1 of saving: an empty serial settings field becomes "9600,8,N,1 ", and the print type
// letter follows Combo8 ("Normal" gives "N", anything else "C").
void applySavingRules(TerminalParameters& p);
// "GRABA_PARAMETROS_USUARIO" with its parameters in the server's order.
ProcedureCall grabaParametros(const Session& session, const TerminalParameters& p);
// What the saving changes in Session at once.
void updateSession(Session& session, const TerminalParameters& p);

// As many blanks as the margin rounded to the nearest whole number ("2.7" gives three).
QString marginBlanks(const QString& margin);

}  // namespace vendura
