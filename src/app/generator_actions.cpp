#include "app/generator_actions.h"

#include "generators/screens/permutation_screen.h"
#include "generators/screens/position_screen.h"
#include "generators/screens/random_screen.h"
#include "generators/screens/reload_screen.h"
#include "generators/screens/repeat_screen.h"
#include "generators/screens/seguidilla_screen.h"
#include "generators/screens/series_screen.h"
#include "generators/screens/terminal_screen.h"
#include "sales/screens/sales_actions.h"
#include "sales/screens/sales_screen.h"

namespace vendura {
namespace {

template <typename Screen, typename... Args>
SalesActions::Action opens(Args... args) {
    return [args...](SalesScreen& sales) {
        Screen screen(sales, args...);
        screen.exec();
    };
}

SalesActions::Action opensTerminales(bool special) {
    return [special](SalesScreen& sales) {
        if (!TerminalScreen::mayOpen(sales)) return;
        TerminalScreen screen(sales, special);
        screen.exec();
    };
}

}  // namespace

void registerGeneratorActions(SalesActions& actions, RandomSource& random) {
    actions.set(SalesCommand::Permutas, opens<PermutationScreen>(false));
    actions.set(SalesCommand::Series, opens<SeriesScreen>(false));
    actions.set(SalesCommand::Seguidillas, opens<SeguidillaScreen>());
    actions.set(SalesCommand::Posicionados, opens<PositionScreen>());
    actions.set(SalesCommand::Terminales, opensTerminales(false));
    actions.set(SalesCommand::RepetirPorLoteria, opens<RepeatScreen>());
    actions.set(SalesCommand::ALaSuerte, [&random](SalesScreen& sales) {
        RandomScreen screen(sales, random);
        screen.exec();
    });
    actions.set(SalesCommand::CargarTicket, opens<ReloadScreen>());
    actions.set(SalesCommand::EspecialPermuta, opens<PermutationScreen>(true));
    actions.set(SalesCommand::EspecialSerie, opens<SeriesScreen>(true));
    actions.set(SalesCommand::EspecialTerminal, opensTerminales(true));
}

}  // namespace vendura
