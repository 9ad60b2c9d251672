#pragma once

#include "platform/record_set.h"
#include "sales/lottery_catalog.h"
#include "sales/special_play.h"

#include <QString>

namespace vendura {

// The values of the sales screen that the play screens share with it.
struct SalesState {
    QString nticket;   // temporary number the server collects the items under
    int NUM_ITEM = 0;  // items created since the screen loaded; never lowered
    QString jugadaactual = QStringLiteral("Venta Normal");
    bool montobsf = false;      // false: amounts are typed in Bs.
    LotteryCatalog rsloterias;  // every lottery of the day
    SpecialCatalog especiales;  // special plays and their variants
    QString loteriascerradas;   // codes reported closed since load, 3 characters each
    QString claveTicket;        // random ticket key
    bool modoEspecial = false;
    int ticks = 0;  // Timer1 ticks since the last look for messages
};

}  // namespace vendura
