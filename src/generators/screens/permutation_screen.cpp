#include "generators/screens/permutation_screen.h"

#include "generators/number_lists.h"
#include "platform/dialogs.h"
#include "sales/screens/sales_screen.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QLineEdit>

namespace vendura {
namespace {
constexpr qint16 kMostPermutedDigits = 8;
}  // namespace

PermutationScreen::PermutationScreen(SalesScreen& sales, bool special)
    : GeneratorScreen(sales, special ? "Permuespe" : "Form8", u"Venta de Permutas de Números"_s),
      special_(special) {
    Session& s = sales.link().session();
    // the field takes what the server accepts: 3 to 8 digits (eight give 336 numbers)
    s.longitudpermuta = qBound<qint16>(3, s.longitudpermuta, kMostPermutedDigits);
    text1_ = addField("Label1", u"Generar Permuta de:"_s, "Text1", s.longitudpermuta);
    addAmount("Label2", special ? u"Monto a vender "_s : u"Monto Bs."_s);
    digitField(text1_, 2, amountField());
    addWaitText(u"Espere por Favor que se estan Generando las Combinaciones Solicitadas..."_s);
}

void PermutationScreen::amountKey() {
    sales().state().jugadaactual = special_ ? u"Superpermutas"_s : permutaLabel(text1_->text());
}

void PermutationScreen::sell() {
    amountKey();
    const auto t = target(special_);
    if (!t) return;
    const auto amount = positiveAmount();
    if (!amount) return;
    const QString digits = text1_->text().trimmed();
    const QStringList numbers = permutaciones(digits);
    if (numbers.size() > kMaxPermutaciones) {
        sales().dialogs().message(
            DialogIcon::Critical, kTituloAtencion,
            u"Esos dígitos forman %1 números; una permuta admite a lo sumo %2 por lotería."_s
                .arg(numbers.size())
                .arg(kMaxPermutaciones));
        return;
    }
    const auto items = generatedItems(t->lotteries, numbers, *amount, t->variants);
    const ProcedureCall call =
        special_ ? xcreapermutasEspe(caller(), digits, amount->plain(), t->codes(), *t->special)
                 : xcreapermutas(caller(), digits, amount->plain(), t->codes());
    sellItems(call, items, *t, !special_, *amount);
}

}  // namespace vendura
