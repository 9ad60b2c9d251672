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
    {"XPButton17", "F11-Activar Lot.", "F11", SalesCommand::ActivarLoterias, nullptr},
    {"XPButton18", "D-Imprimir Ticket", "", SalesCommand::EmitirTicket, nullptr},
    {"XPButton19", "F7-Reportes", "F7.", SalesCommand::Reportes, nullptr},
    {"XPButton20", "F10-Mensajes", "F10", SalesCommand::Mensajes, nullptr},
    {"XPButton21", "F12-Resultados", "F12", SalesCommand::Resultados, nullptr},
    {"XPButton22", "/-Borrar Jugadas", "", SalesCommand::IrAlTicket, nullptr},
    {"XPButton23", "F6-Parámetros", "F6.", SalesCommand::Parametros, nullptr},
};

const KeyCommand kNormalKeys[] = {
    {u'S', "Series", SalesCommand::Series},
    {u'P', "sUper permutas", SalesCommand::Permutas},
    {u'E', "sEguidillas", SalesCommand::EliminarPorLoteria},
    {u'O', "pOsicionados", SalesCommand::Posicionados},
    {u'T', "los Terminales", SalesCommand::Terminales},
    {u'R', "Repetir x loteria", SalesCommand::RepetirPorLoteria},
    {u'G', nullptr, SalesCommand::Seguidillas},
    {u'A', "A la Suerte", SalesCommand::ALaSuerte},
    {u'C', "Cargado desde Ticket", SalesCommand::CargarTicket},
    {u'B', nullptr, SalesCommand::AnularTicket, "XPButton10"},
    {u'L', nullptr, SalesCommand::FocoLoterias},
    {u'Z', nullptr, SalesCommand::JugadasEspeciales},
    {u'*', nullptr, SalesCommand::InvertirLoterias},
    {u'D', nullptr, SalesCommand::EmitirTicket},
    {u'/', nullptr, SalesCommand::IrAlTicket},
};

const KeyCommand kSpecialKeys[] = {
    {u'J', nullptr, SalesCommand::FocoVariantes},
    {u'L', nullptr, SalesCommand::FocoLoteriasEspeciales},
    {u'P', nullptr, SalesCommand::EspecialPermuta},
    {u'S', nullptr, SalesCommand::EspecialSerie},
    {u'M', nullptr, SalesCommand::EspecialTerminal},
    {u'N', nullptr, SalesCommand::FocoNumeroEspecial},
    {u'+', nullptr, SalesCommand::VarianteSiguiente},
    {u'-', nullptr, SalesCommand::VarianteAnterior},
    {u'*', nullptr, SalesCommand::InvertirLoteriasEspeciales},
};

const FunctionKeyCommand kFunctionKeys[] = {
    {Qt::Key_F1, SalesCommand::Ayuda, nullptr},
    {Qt::Key_F2, SalesCommand::TicketsDelDia, "XPButton12"},
    {Qt::Key_F3, SalesCommand::AnularTicket, "XPButton10"},
    {Qt::Key_F4, SalesCommand::PagarTicket, "XPButton15"},
    {Qt::Key_F5, SalesCommand::Calculadora, "XPButton5"},
    {Qt::Key_F6, SalesCommand::Parametros, "XPButton23"},
    {Qt::Key_F7, SalesCommand::Reportes, "XPButton19"},
    {Qt::Key_F9, SalesCommand::CambiarUnidad, nullptr},
    {Qt::Key_F10, SalesCommand::Mensajes, "XPButton20"},
    {Qt::Key_F11, SalesCommand::ActivarLoterias, "XPButton17"},
    {Qt::Key_F12, SalesCommand::Resultados, "XPButton21"},
};

const KeyCommand* find(std::span<const KeyCommand> table, QChar typed) {
    const QChar upper = typed.toUpper();
    for (const KeyCommand& k : table) {
        if (upper == QChar(k.key)) return &k;
    }
    return nullptr;
}

}  // namespace

bool isScreenCommand(SalesCommand command) {
    return command >= SalesCommand::Ayuda;
}

std::span<const CommandButton> commandButtons() {
    return kButtons;
}

const CommandButton* commandButton(const QString& name) {
    for (const CommandButton& b : kButtons) {
        if (name == QLatin1String(b.name)) return &b;
    }
    return nullptr;
}

const KeyCommand* normalKeyCommand(QChar typed) {
    return find(kNormalKeys, typed);
}

const KeyCommand* specialKeyCommand(QChar typed) {
    return find(kSpecialKeys, typed);
}

std::span<const KeyCommand> normalKeyCommands() {
    return kNormalKeys;
}

std::span<const KeyCommand> specialKeyCommands() {
    return kSpecialKeys;
}

const FunctionKeyCommand* functionKeyCommand(int key) {
    for (const FunctionKeyCommand& f : kFunctionKeys) {
        if (f.key == key) return &f;
    }
    return nullptr;
}

std::span<const FunctionKeyCommand> functionKeyCommands() {
    return kFunctionKeys;
}

}  // namespace vendura
