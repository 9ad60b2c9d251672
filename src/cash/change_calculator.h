#pragma once

#include <QChar>
#include <QString>

namespace vendura {

// The cash field of the change calculator takes the digits and one "."; every other key is
// refused (Backspace is not a character and always passes).
bool cashFieldAccepts(const QString& text, QChar typed);

// What the change label shows after the cash field changed. totalCaption is the last ticket's
// amount as the sales screen shows it ("1.250,00"); cash uses "." as decimal point. An empty
// field shows "0"; cash that covers the total shows the change, "###,###0.00"; otherwise the
// label keeps its previous text.
QString changeCaption(const QString& totalCaption, const QString& cash, const QString& previous);

}  // namespace vendura
