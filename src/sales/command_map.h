#pragma once

#include <QChar>
#include <QString>

#include <span>

namespace vendura {

// Everything a key or a button of the sales screen can ask for. The screen carries out its own
// commands; the others open screens of other subsystems through the SalesActions registry, and
// do nothing visible while nobody registered them.
enum class SalesCommand {
    // opened through the registry
    TicketsDelDia,
    AnularTicket,
    PagarTicket,
    Calculadora,
    Parametros,
    Reportes,
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
    EspecialPermuta,
    EspecialSerie,
    EspecialTerminal,
    Vuelto,
    // the sales screen's own
    Ayuda,
    CambiarUnidad,
    Mensajes,
    EliminarPorLoteria,
    EmitirTicket,  // issues the ticket whatever the working mode
    IrAlTicket,    // focus to the ticket list, where Delete takes the selected plays off
    JugadasEspeciales,
    FocoLoterias,
    InvertirLoterias,
    // special mode
    FocoVariantes,
    FocoLoteriasEspeciales,
    FocoNumeroEspecial,
    VarianteSiguiente,
    VarianteAnterior,
    InvertirLoteriasEspeciales,
};

// Whether the sales screen carries the command out itself rather than through the registry.
bool isScreenCommand(SalesCommand command);

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
const CommandButton* commandButton(const QString& name);

// A character key (letters compared in upper case) and what it does; a key that opens what a
// guarded button opens asks for that button's permission.
struct KeyCommand {
    char16_t key;
    const char* jugada;  // the play label set before the command runs, or null
    SalesCommand command;
    const char* button = nullptr;  // the guarded button of the same command, or null
};
// The table of normal mode and the table of special mode; null when the key is in neither.
const KeyCommand* normalKeyCommand(QChar typed);
const KeyCommand* specialKeyCommand(QChar typed);
std::span<const KeyCommand> normalKeyCommands();
std::span<const KeyCommand> specialKeyCommands();

// A function key, guarded by the permission of the button that offers the same command (no
// button: not guarded).
struct FunctionKeyCommand {
    int key;  // Qt::Key
    SalesCommand command;
    const char* button;
};
const FunctionKeyCommand* functionKeyCommand(int key);
std::span<const FunctionKeyCommand> functionKeyCommands();

}  // namespace vendura
