#include "office/screens/action_form.h"

#include "platform/dialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vendura::office {

ActionForm::ActionForm(AdminLink& link, Dialogs& dialogs, std::vector<OfficeAction> actions,
                       QWidget* parent)
    : QWidget(parent), link_(link), dialogs_(dialogs), actions_(std::move(actions)) {
    setObjectName(u"ActionForm"_s);
    chosen_ = new QComboBox(this);
    chosen_->setObjectName(u"cmbAccion"_s);
    for (const OfficeAction& a : actions_) chosen_->addItem(a.title);
    fields_ = new QFormLayout;
    outcome_ = new QLabel(this);
    outcome_->setObjectName(u"lblHecho"_s);
    outcome_->setWordWrap(true);
    outcome_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QFormLayout;
    top->addRow(u"&Acción"_s, chosen_);
    layout->addLayout(top);
    layout->addLayout(fields_);
    auto* run = new QPushButton(u"&Hacer"_s, this);
    run->setObjectName(u"btnHacer"_s);
    connect(run, &QPushButton::clicked, this, &ActionForm::run);
    layout->addWidget(run, 0, Qt::AlignRight);
    auto* hint = new QLabel(
        u"Intro pasa al campo siguiente; en el último pregunta y, con un sí, lo hace. * obligatorio."_s,
        this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->addWidget(outcome_);
    layout->addStretch(1);
    connect(chosen_, &QComboBox::currentIndexChanged, this, [this](int i) { build(i); });
    build(0);
}

void ActionForm::build(int index) {
    while (fields_->rowCount() > 0) fields_->removeRow(0);
    edits_.clear();
    if (index < 0) return;
    const OfficeAction& a = actions_[size_t(index)];
    for (size_t i = 0; i < a.fields.size(); ++i) {
        const ActionField& f = a.fields[i];
        auto* edit = new QLineEdit(this);
        edit->setObjectName(u"txtCampo"_s + QString::number(i + 1));
        if (f.kind == FieldKind::Password) edit->setPlaceholderText(u"vacío: una al azar"_s);
        if (f.kind == FieldKind::Secret) edit->setEchoMode(QLineEdit::Password);
        connect(edit, &QLineEdit::returnPressed, this, [this, i] {
            if (i + 1 < edits_.size()) {
                edits_[i + 1]->setFocus();
            } else {
                run();
            }
        });
        fields_->addRow(f.label + (f.optional ? QString() : u" *"_s), edit);
        edits_.push_back(edit);
    }
}

bool ActionForm::choose(const QString& verb) {
    for (size_t i = 0; i < actions_.size(); ++i) {
        if (actions_[i].words.join(u' ') == verb || actions_[i].words.last() == verb) {
            chosen_->setCurrentIndex(int(i));
            return true;
        }
    }
    return false;
}

void ActionForm::fill(const QString& label, const QString& value) {
    const OfficeAction& a = actions_[size_t(chosen_->currentIndex())];
    for (size_t i = 0; i < a.fields.size(); ++i) {
        if (a.fields[i].label.startsWith(label)) edits_[i]->setText(value);
    }
}

void ActionForm::focusFirstEmpty() {
    for (QLineEdit* e : edits_) {
        if (e->text().isEmpty()) {
            e->setFocus();
            return;
        }
    }
    if (!edits_.empty()) edits_.back()->setFocus();
}

void ActionForm::run() {
    const OfficeAction& a = actions_[size_t(chosen_->currentIndex())];
    QStringList typed, shown;
    for (size_t i = 0; i < edits_.size(); ++i) {
        typed << edits_[i]->text();
        if (!edits_[i]->text().trimmed().isEmpty() && !isPassword(a.fields[i].kind)) {
            shown << a.fields[i].label + u": "_s + edits_[i]->text().trimmed();
        }
    }
    if (!dialogs_.question(DialogIcon::Question, a.title,
                           u"¿"_s + a.title + u"?\r"_s + shown.join(u'\r'), false)) {
        return;
    }
    auto outcome = runAction(link_, a, typed);
    if (!outcome) {
        dialogs_.message(DialogIcon::Critical, a.title, outcome.error().description);
        return;
    }
    outcome_->setText(outcome.value());
    for (QLineEdit* e : edits_) e->clear();
    if (!edits_.empty()) edits_.front()->setFocus();
    emit done();
}

QString ActionForm::outcome() const {
    return outcome_->text();
}

}  // namespace vendura::office
