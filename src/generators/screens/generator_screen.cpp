#include "generators/screens/generator_screen.h"

#include "generators/copied_plays.h"
#include "platform/dialogs.h"
#include "sales/amount_entry.h"
#include "sales/lottery_catalog.h"
#include "sales/play_seller.h"
#include "sales/screens/entry_keys.h"
#include "sales/screens/sales_screen.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QTableView>
#include <QTime>
#include <QVBoxLayout>

namespace vendura {
namespace {

// The client's item counter is 16 bits wide, as the server's answers expect.
constexpr int kMaxItem = 32767;

}  // namespace

QString SaleTarget::codes() const {
    return codeList(lotteries);
}

GeneratorScreen::GeneratorScreen(SalesScreen& sales, const char* name, const QString& title)
    : SecondaryScreen(&sales, QString::fromLatin1(name), title), sales_(sales) {
    useColoursOf(sales.link().session());
    auto* layout = new QVBoxLayout(this);
    form_ = new QGridLayout;
    layout->addLayout(form_);
    layout->addStretch();
    resize(460, 220);
}

void GeneratorScreen::addRow(QWidget* caption, QWidget* field) {
    const int row = form_->rowCount();
    if (caption) form_->addWidget(caption, row, 0);
    form_->addWidget(field, row, 1);
}

QLineEdit* GeneratorScreen::addField(const char* labelName, const QString& caption,
                                     const char* fieldName, int maxLength) {
    auto* field = named(new QLineEdit, fieldName);
    field->setMaxLength(maxLength);
    QFont big = field->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    field->setFont(big);
    field->installEventFilter(this);
    watch(field, true);
    addRow(named(new QLabel(caption), labelName), field);
    if (!first_) first_ = field;
    return field;
}

QLineEdit* GeneratorScreen::addAmount(const char* labelName, const QString& caption,
                                      const char* fieldName, bool digitsOnly) {
    amount_ = addField(labelName, caption, fieldName, 15);
    digitsOnlyAmount_ = digitsOnly;
    amount_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(digitsOnly ? u"[0-9]*"_s : u"[0-9]*[.]?[0-9]*"_s), amount_));
    return amount_;
}

void GeneratorScreen::digitField(QLineEdit* field, int minChars, QWidget* next) {
    field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(u"[0-9]{0,%1}"_s.arg(field->maxLength())), field));
    digitFields_.insert(field, {minChars, next});
}

void GeneratorScreen::addWaitText(const QString& text) {
    wait_ = named(new QLabel(text), "Label3");
    wait_->setWordWrap(true);
    progress_ = named(new QProgressBar, "ProgressBar1");
    progress_->setTextVisible(false);
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(1, wait_);
    layout->insertWidget(2, progress_);
    showWait(false);
}

void GeneratorScreen::showWait(bool on) {
    if (!wait_) return;
    wait_->setVisible(on);
    progress_->setVisible(on);
    progress_->setRange(0, on ? 0 : 1);  // busy while the server works
    if (on) {
        // the call holds the interface thread: the text must be on screen before it
        repaint();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

bool GeneratorScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QChar c = typedChar(key);
    const bool passes = key->key() == Qt::Key_Backspace || c.isNull() || !c.isPrint();
    if (watched == amount_) {
        amountKey();
        if (isEnter(key)) {
            sell();
            return true;
        }
        if (passes) return false;
        return digitsOnlyAmount_ ? !numberFieldAccepts(c) : !amountFieldAccepts(amount_->text(), c);
    }
    const auto field = digitFields_.constFind(watched);
    if (field == digitFields_.constEnd()) return false;
    if (isEnter(key)) {
        const auto* edit = static_cast<QLineEdit*>(watched);
        if (edit->text().trimmed().size() >= field->minChars && field->next)
            focusField(field->next);
        return true;
    }
    return !passes && !numberFieldAccepts(c);
}

void GeneratorScreen::hideEvent(QHideEvent* event) {
    SecondaryScreen::hideEvent(event);
    if (sales_.ticket().rowCount() > 0) sales_.ticketView()->scrollToBottom();
}

GeneratorCaller GeneratorScreen::caller() const {
    const Session& s = sales_.link().session();
    return {s.CodVendedor, s.Usuario, sales_.state().nticket, sales_.state().NUM_ITEM};
}

std::optional<Money> GeneratorScreen::positiveAmount() {
    typedAmount_ = amount_->text();
    const auto typed = Money::parse(typedAmount_);
    if (typedAmount_.trimmed().isEmpty() || (typed && typed.value().isZero())) return std::nullopt;
    auto amount = amountToSend(typedAmount_, sales_.state().montobsf, 8);
    if (!amount) {
        sales_.dialogs().message(DialogIcon::Critical, kTituloAtencion, amount.error().description);
        focusField(amount_);
        return std::nullopt;
    }
    return amount.value();
}

std::optional<QString> GeneratorScreen::amountOrZero() {
    typedAmount_ = amount_->text();
    const auto typed = Money::parse(typedAmount_);
    if (typedAmount_.trimmed().isEmpty() || (typed && typed.value().isZero())) return u"0"_s;
    const auto amount = positiveAmount();
    if (!amount) return std::nullopt;
    return amount->plain();
}

std::optional<SaleTarget> GeneratorScreen::target(bool special) {
    SaleTarget t;
    Dialogs& dialogs = sales_.dialogs();
    if (!special) {
        t.lotteries = sales_.selectedLotteryEntries();
    } else {
        const SpecialSelection chosen = sales_.specialSelection();
        if (chosen.lotteryEntries.isEmpty()) {
            dialogs.message(DialogIcon::Critical, kTituloPuntoVenta,
                            u"Debe por lo menos seleccionar una loteria"_s);
            return std::nullopt;
        }
        if (chosen.variantEntries.isEmpty()) {
            dialogs.message(DialogIcon::Critical, kTituloPuntoVenta,
                            u"Debe  por lo menos seleccionar una jugada especial"_s);
            return std::nullopt;
        }
        t.lotteries = chosen.lotteryEntries;
        t.variants = selectedVariants(chosen, sales_.state().especiales);
        t.special = SpecialCodes{chosen.variantCodes(), chosen.especial};
    }
    if (t.codes().size() > 500) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion,
                        u"Hay demasiadas loterías seleccionadas para una sola jugada."_s);
        return std::nullopt;
    }
    return t;
}

std::optional<SaleOutcome> GeneratorScreen::send(const ProcedureCall& call,
                                                 const std::vector<PlannedItem>& items,
                                                 const QString& tipo) {
    SalesState& state = sales_.state();
    if (state.NUM_ITEM + qsizetype(items.size()) > kMaxItem) {
        sales_.dialogs().message(
            DialogIcon::Critical, kTituloAtencion,
            u"El ticket no admite tantas jugadas: emita el ticket y venda el resto en otro."_s);
        return std::nullopt;
    }
    showWait(true);
    auto outcome = sellPlay(sales_.link(), state, call, items, tipo);
    showWait(false);
    return outcome;
}

void GeneratorScreen::sellItems(const ProcedureCall& call, const std::vector<PlannedItem>& items,
                                const SaleTarget& target, bool grouped, Money asked) {
    auto outcome = send(call, items, target.tipo());
    if (!outcome) return;
    Session& s = sales_.link().session();
    if (grouped && s.ModoTrabajo == u"0"_s &&
        groupSale(sales_.ticket().rows(), outcome->rows, target.codes(),
                  sales_.state().jugadaactual, asked)) {
        s.ModoTrabajo = u"1"_s;
        sales_.refreshStatus();
    }
    finish(*outcome);
}

bool GeneratorScreen::sellCopies(const ProcedureCall& call) {
    QElapsedTimer took;
    took.start();
    showWait(true);
    const auto outcome = vendura::sellCopies(sales_.link(), sales_.state(), call);
    showWait(false);
    if (!outcome) return false;
    finish(*outcome);
    QStatusBar* bar = sales_.statusBar();
    auto* panel = bar->findChild<QLabel*>(u"PanelTiempo"_s);
    if (!panel) {
        panel = named(new QLabel, "PanelTiempo");
        bar->addPermanentWidget(panel);
    }
    panel->setText(QTime(0, 0).addMSecs(int(took.elapsed())).toString(u"HH:mm:ss"_s));
    return true;
}

void GeneratorScreen::finish(const SaleOutcome& outcome) {
    sales_.applySale(outcome);
    amount_->setText(typedAmount_);
    activateWindow();
    focusField(amount_);
}

}  // namespace vendura
