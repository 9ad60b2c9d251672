#include "sales/command_map.h"

#include <Qt>

namespace vendura {
namespace {

const CommandButton kButtons[] = {
    {"XPButton1", "P-Permutas", "", SalesCommand::Permutas, "sUper permutas"},
    {"XPButton2", "S-Series", "", SalesCommand::Series, "Series"},
    {"XPButton3", "G-Seguidillas", "", SalesCommand::Seguidillas, nullptr},
    {"XPButton4", "O-Posicionados", "", SalesCommand::Posicionados, "pOsicionados"},
    {"XPButton5", "F5-Calculadora", "F5.", SalesCommand::Calculadora, nullptr},
    {"XPButton6", "A-A la Suerte", "", SalesCommand::ALaSuerte, "A la Suerte"},
    {"XPButton7", "R-Repetir x Loteria", "", SalesCommand::RepetirPorLoteria, "Repetir x loteria"},
    {"XPButton8", "T-Terminales", "", SalesCommand::Terminales, "los Terminales"},
    {"XPButton9", "E-elimi. Jugada", "", SalesCommand::EliminarPorLoteria, nullptr},
    {"XPButton10", "F3-Anular Ticket", "F3.", SalesCommand::AnularTicket, nullptr},
    {"XPButton11", "C-Cargar Ticket", "", SalesCommand::CargarTicket, "Cargado desde Ticket"},
    {"XPButton12", "F2-Tickets del Día", "F2.", SalesCommand::TicketsDelDia, nullptr},
    {"XPButton15", "F4-Pagar Ticket", "F4.", SalesCommand::PagarTicket, nullptr},
    {"XPButton17", "F11-Activar Loterías", "F11", SalesCommand::ActivarLoterias, nullptr},
    {"XPButton19", "F7-Reportes", "F7.", SalesCommand::Reportes, nullptr},
    {"XPButton20", "F10-Mensajes", "F10", SalesCommand::Mensajes, nullptr},
    {"XPButton21", "F12-Resultados", "F12", SalesCommand::Resultados, nullptr},
    {"XPButton23", "F6-Parámetros", "F6.", SalesCommand::Parametros, nullptr},
};

const LetterCommand kLetters[] = {
    {u'S', "Series", SalesCommand::Series},
    {u'P', "sUper permutas", SalesCommand::Permutas},
    {u'E', "sEguidillas", SalesCommand::EliminarPorLoteria},
    {u'O', "pOsicionados", SalesCommand::Posicionados},
    {u'T', "los Terminales", SalesCommand::Terminales},
    {u'R', "Repetir x loteria", SalesCommand::RepetirPorLoteria},
    {u'G', nullptr, SalesCommand::Seguidillas},
    {u'A', "A la Suerte", SalesCommand::ALaSuerte},
    {u'C', "Cargado desde Ticket", SalesCommand::CargarTicket},
    {u'B', nullptr, SalesCommand::AnularTicket},
};

const FunctionKeyCommand kFunctionKeys[] = {
    {Qt::Key_F2, SalesCommand::TicketsDelDia, "XPButton12"},
    {Qt::Key_F3, SalesCommand::AnularTicket, "XPButton10"},
    {Qt::Key_F4, SalesCommand::PagarTicket, "XPButton15"},
    {Qt::Key_F5, SalesCommand::Calculadora, "XPButton5"},
    {Qt::Key_F6, SalesCommand::Parametros, "XPButton23"},
    {Qt::Key_F7, SalesCommand::Reportes, "XPButton19"},
    {Qt::Key_F10, SalesCommand::Mensajes, "XPButton20"},
    {Qt::Key_F11, SalesCommand::ActivarLoterias, "XPButton17"},
    {Qt::Key_F12, SalesCommand::Resultados, "XPButton21"},
};

}  // namespace

std::span<const CommandButton> commandButtons() {
    return kButtons;
}

const LetterCommand* letterCommand(QChar typed) {
    const QChar upper = typed.toUpper();
    for (const LetterCommand& l : kLetters) {
        if (upper == QChar(l.letter)) return &l;
    }
    return nullptr;
}

const FunctionKeyCommand* functionKeyCommand(int key) {
    for (const FunctionKeyCommand& f : kFunctionKeys) {
        if (f.key == key) return &f;
    }
    return nullptr;
}

}  // namespace vendura
