#pragma once

namespace vendura {

class SalesActions;

// The screens the sales screen opens for the cash subsystem and the terminal's parameters: the
// calculator (F5, XPButton5), lottery activation (F11), the change calculator after a saved
// ticket, the parameter screen (F6).
void registerCashActions(SalesActions& actions);

}  // namespace vendura
