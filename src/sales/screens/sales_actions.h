#pragma once

#include <QMap>

#include <functional>

namespace vendura {

class SalesScreen;

// Commands of the sales screen that open other screens. The program fills the registry; the
// sales screen runs what is there and nothing for a command nobody registered.
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

class SalesActions {
  public:
    using Action = std::function<void(SalesScreen&)>;
    void set(SalesCommand command, Action action) { actions_.insert(command, std::move(action)); }
    bool has(SalesCommand command) const { return actions_.contains(command); }
    bool run(SalesCommand command, SalesScreen& screen) const {
        const auto it = actions_.constFind(command);
        if (it == actions_.constEnd()) return false;
        (*it)(screen);
        return true;
    }

  private:
    QMap<SalesCommand, Action> actions_;
};

}  // namespace vendura
