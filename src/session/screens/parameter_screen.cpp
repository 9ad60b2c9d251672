#include "session/screens/parameter_screen.h"

#include "platform/dialogs.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vendura {
namespace {

// Shown is a value the central office sets: the screen shows it and never changes it.
enum class Kind { Digits, PrintType, Letter, Text, Password, Shown };

struct TextSpec {
    const char* name;
    const char* label;
    QString TerminalParameters::*value;
    int maxLength;
    Kind kind;
};

struct ComboSpec {
    const char* name;
    const char* label;
    QString TerminalParameters::*value;
    const QStringList& (*entries)();
};

// One control of the screen, in the order the focus walks them.
struct Control {
    const TextSpec* text;
    const ComboSpec* combo;
};

using P = TerminalParameters;

const TextSpec kTexts[] = {
    {"Text7", "Letra (C/N)", &P::tipoLetra, 1, Kind::PrintType},
    {"Text4", "Margen izquierdo", &P::margen, 2, Kind::Digits},
    {"Text5", "Filas de salto", &P::filasSalto, 2, Kind::Digits},
    {"Text6", "Columnas de jugadas", &P::columnas, 1, Kind::Digits},
    {"Text17", "Configuración serial", &P::serial, 40, Kind::Text},
    {"Text1", "Días para cobrar premios", &P::diasCaduca, 3, Kind::Shown},
    {"Text9", "Código de área", &P::codTel1, 4, Kind::Text},
    {"Text11", "Segundo código de área", &P::codTel2, 4, Kind::Text},
    {"Text12", "Teléfono alterno", &P::nrotel2, 10, Kind::Text},
    {"Text8", "Unidad de disquete", &P::letraDisquete, 1, Kind::Letter},
    {"Text16", "Base de datos en línea", &P::bdOnline, 20, Kind::Text},
    {"Text15", "Dirección principal", &P::dirip1, 15, Kind::Text},
    {"Text14", "Dirección secundaria", &P::dirip2, 15, Kind::Text},
    {"Text13", "Dirección fuera de línea", &P::dirOffline, 15, Kind::Text},
    {"Text2", "Base de datos fuera de línea", &P::bdOffline, 20, Kind::Text},
    {"Text3", "Clave fuera de línea", &P::claveOffline, 10, Kind::Password},
};

const ComboSpec kCombos[] = {
    {"Combo1", "Puerto de la impresora", &P::puertoPrinter, &choices::printerPorts},
    {"Combo8", "Tipo de impresión", &P::impresion, &choices::printTypes},
    {"Combo9", "Un ticket por lotería", &P::imprimePorLoteria, &choices::yesNo},
    {"Combo3", "Velocidad de la línea", &P::velocidad, &choices::lineSpeeds},
    {"Combo4", "Lista de jugadas", &P::modoTrabajo, &choices::listForms},
    {"Combo5", "Tiempo para anular", &P::tiempoAnular, &choices::yesNo},
    {"Combo7", "Pantalla de vuelto", &P::screenVuelto, &choices::yesNo},
    {"Combo2", "Puerto del fax módem", &P::puertoFax, &choices::faxPorts},
    {"Combo6", "Código de barras en el ticket", &P::nrotel1, &choices::yesNo},
};

const TextSpec* text(const char* name) {
    for (const TextSpec& t : kTexts) {
        if (qstrcmp(t.name, name) == 0) return &t;
    }
    return nullptr;
}

const ComboSpec* combo(const char* name) {
    for (const ComboSpec& c : kCombos) {
        if (qstrcmp(c.name, name) == 0) return &c;
    }
    return nullptr;
}

// The three frames of the screen and their controls, top to bottom.
struct Frame {
    const char* name;
    const char* title;
    std::initializer_list<const char*> controls;
};
const Frame kFrames[] = {
    {"Frame1",
     "Impresión",
     {"Combo1", "Combo8", "Text7", "Text4", "Text5", "Text6", "Combo9", "Text17", "Combo3",
      "Combo4", "Text1", "Combo5", "Combo7"}},
    {"Frame2", "Comunicaciones", {"Combo2", "Text9", "Combo6", "Text11", "Text12", "Text8"}},
    {"Frame3", "Conexión", {"Text16", "Text15", "Text14", "Text13", "Text2", "Text3"}},
};

// Takes the one letter the print type field admits, in upper case.
class PrintTypeValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return input.isEmpty() || input == u"C"_s || input == u"N"_s ? Acceptable : Invalid;
    }
};

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

ParameterScreen::ParameterScreen(ServerLink& link, QWidget* parent)
    : SecondaryScreen(parent), link_(link) {
    useColoursOf(link.session());
    setObjectName(u"maestroparametro"_s);
    setWindowTitle(u"Parametros de Vendura"_s);
    buildControls();
}

void ParameterScreen::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* frames = new QHBoxLayout;
    for (const Frame& f : kFrames) {
        auto* box = named(new QGroupBox(QString::fromUtf8(f.title)), f.name);
        auto* form = new QFormLayout(box);
        for (const char* name : f.controls) {
            QWidget* field = nullptr;
            QString label;
            if (const TextSpec* t = text(name)) {
                auto* edit = named(new QLineEdit, t->name);
                edit->setMaxLength(t->maxLength);
                // wide enough for what the field takes, up to a long address
                const int chars = qBound(4, t->maxLength, 16);
                edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(chars, u'0')) +
                                      16);
                if (t->kind == Kind::Digits) {
                    edit->setValidator(
                        new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), edit));
                } else if (t->kind == Kind::PrintType) {
                    edit->setValidator(new PrintTypeValidator(edit));
                } else if (t->kind == Kind::Letter) {
                    edit->setValidator(
                        new QRegularExpressionValidator(QRegularExpression(u"[A-Za-z]?"_s), edit));
                } else if (t->kind == Kind::Password) {
                    edit->setEchoMode(QLineEdit::Password);
                } else if (t->kind == Kind::Shown) {
                    edit->setReadOnly(true);
                    edit->setFocusPolicy(Qt::NoFocus);
                }
                texts_.insert(QString::fromLatin1(t->name), edit);
                watch(edit, true);
                field = edit;
                label = QString::fromUtf8(t->label);
            } else if (const ComboSpec* c = combo(name)) {
                auto* box = named(new QComboBox, c->name);
                box->addItems(c->entries());
                combos_.insert(QString::fromLatin1(c->name), box);
                watch(box, false);
                field = box;
                label = QString::fromUtf8(c->label);
            }
            field->installEventFilter(this);
            form->addRow(label, field);
        }
        frames->addWidget(box);
    }
    layout->addLayout(frames);

    // shown for the record: this counter works on line, and the choice is never saved
    auto* modo = named(new QComboBox, "Combo10");
    modo->addItems(choices::workingModes());
    modo->setEnabled(false);
    auto* modoRow = new QFormLayout;
    modoRow->addRow(u"Modo de trabajo"_s, modo);
    layout->addLayout(modoRow);

    auto* buttons = new QHBoxLayout;
    auto* grabar = named(new QPushButton(u"&Grabar"_s), "XPButton1");
    auto* regresar = named(new QPushButton(u"&Regresar"_s), "XPButton2");
    buttons->addWidget(grabar);
    buttons->addWidget(regresar);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(grabar, &QPushButton::clicked, this, &ParameterScreen::grabar);
    connect(regresar, &QPushButton::clicked, this, &QDialog::reject);

    // the print type letter and its choice show the same thing
    QComboBox* combo8 = combos_.value(u"Combo8"_s);
    QLineEdit* text7 = texts_.value(u"Text7"_s);
    connect(combo8, &QComboBox::currentTextChanged, text7, [text7](const QString& choice) {
        text7->setText(choice == u"Normal"_s ? u"N"_s : u"C"_s);
    });
    connect(text7, &QLineEdit::textEdited, combo8, [combo8](const QString& letter) {
        if (!letter.isEmpty())
            combo8->setCurrentText(letter == u"N"_s ? u"Normal"_s : u"Comprimida"_s);
    });
}

QWidget* ParameterScreen::firstField() const {
    return combos_.value(u"Combo1"_s);
}

bool ParameterScreen::load() {
    Session& s = link_.session();
    if (!link_.ensureOpen()) return false;
    auto answer = s.Conexion->call(ver_usuario(s));
    if (!answer) {
        handleCallFailure(link_, answer.error());
        return false;
    }
    if (answer.value().returnNumber() != 0 || answer.value().rows.empty()) {
        reportCallFailure(link_.dialogs(),
                          Error{answer.value().returnNumber(),
                                u"El servidor no entregó los parámetros del usuario"_s});
        return false;
    }
    fill(parametersFromRow(answer.value().rows));
    setWindowTitle(u"Parámetros de "_s + s.Usuario + u" "_s + s.NombreUsuario);
    return true;
}

void ParameterScreen::fill(const TerminalParameters& p) {
    for (const ComboSpec& c : kCombos) {
        QComboBox* box = combos_.value(QString::fromLatin1(c.name));
        const QString value = p.*c.value;
        // a value the list does not offer is still shown as the server holds it
        if (!value.isEmpty() && box->findText(value) < 0) box->insertItem(0, value);
        box->setCurrentIndex(value.isEmpty() ? -1 : box->findText(value));
    }
    for (const TextSpec& t : kTexts) texts_.value(QString::fromLatin1(t.name))->setText(p.*t.value);
}

TerminalParameters ParameterScreen::fields() const {
    TerminalParameters p;
    for (const ComboSpec& c : kCombos)
        p.*c.value = combos_.value(QString::fromLatin1(c.name))->currentText();
    for (const TextSpec& t : kTexts) p.*t.value = texts_.value(QString::fromLatin1(t.name))->text();
    return p;
}

void ParameterScreen::grabar() {
    Session& s = link_.session();
    Dialogs& dialogs = link_.dialogs();
    TerminalParameters p = fields();
    if (const auto problem = checkParameters(p)) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion, problem->message);
        focusField(texts_.value(QString::fromLatin1(problem->control)));
        return;
    }
    applySavingRules(p);
    fill(p);
    if (!link_.ensureOpen()) return;
    auto answer = s.Conexion->call(grabaParametros(s, p));
    if (!answer) {
        handleCallFailure(link_, answer.error());
        return;
    }
    updateSession(s, p);
    dialogs.message(DialogIcon::Information, kTituloAtencion, u"Se Actualizo Correctamente..."_s);
}

bool ParameterScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
        // Enter walks from field to field, as on every screen of the counter
        focusNextChild();
        if (QWidget* next = focusWidget()) focusField(next);
        return true;
    }
    return SecondaryScreen::eventFilter(watched, event);
}

}  // namespace vendura
