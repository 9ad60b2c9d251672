#pragma once

#include "sales/command_map.h"

#include <QMap>

#include <functional>

namespace vendura {

class SalesScreen;

// The commands of the sales screen that open other screens: the program fills the registry;
// the sales screen runs what is there and nothing for a command nobody registered.
class SalesActions {
  public:
    using Action = std::function<void(SalesScreen&)>;
    void set(SalesCommand command, Action action) { actions_.insert(command, std::move(action)); }
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
