#pragma once

namespace vendura {

class SalesActions;

// The cash subsystem's screens the sales screen opens: the calculator (F5, XPButton5).
void registerCashActions(SalesActions& actions);

}  // namespace vendura
