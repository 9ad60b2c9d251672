#pragma once

#include <QChar>
#include <QString>

#include <span>

namespace vendura {

// What the sales screen can open besides the sale itself.
enum class SalesCommand {
    Ayuda,
    TicketsDelDia,
    AnularTicket,
    PagarTicket,
    Calculadora,
    Parametros,
    Reportes,
    Mensajes,        // reading on demand (F10)
    MensajesNuevos,  // the quiet look for unread messages at start and every five minutes
    ActivarLoterias,
    Resultados,
    Permutas,
    Series,
    Seguidillas,
    Posicionados,
    Terminales,
    RepetirPorLoteria,
    ALaSuerte,
    CargarTicket,
    EliminarPorLoteria,
    EspecialPermuta,
    EspecialSerie,
    EspecialTerminal,
    Vuelto,
};

// A command button of the sales screen. A guarded one carries the permission code the
// seller's permissions must hold; it also guards the function key of the same command.
struct CommandButton {
    const char* name;
    const char* caption;
    const char* permiso;  // empty: not guarded
    SalesCommand command;
    const char* jugada;  // the play label set before the command runs, or null
};
std::span<const CommandButton> commandButtons();

// A letter of the normal mode (compared in upper case) and what it does.
struct LetterCommand {
    char16_t letter;
    const char* jugada;
    SalesCommand command;
};
const LetterCommand* letterCommand(QChar typed);

// A function key guarded by the permission of a button.
struct FunctionKeyCommand {
    int key;  // Qt::Key
    SalesCommand command;
    const char* button;
};
const FunctionKeyCommand* functionKeyCommand(int key);

}  // namespace vendura
