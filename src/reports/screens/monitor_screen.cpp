#include "reports/screens/monitor_screen.h"

#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace vendura {
namespace {

constexpr int kMostColumns = 20;
constexpr int kMostSeconds = 3600;

}  // namespace

MonitorScreen::MonitorScreen(ServerLink& link, ProgramEnd& programEnd, QWidget* parent)
    : SecondaryScreen(parent, u"MonitorOnLine"_s, u"Monitor On Line"_s),
      link_(link),
      programEnd_(programEnd),
      combo1_(named(new QComboBox(this), "Combo1")),
      combo2_(named(new QComboBox(this), "Combo2")),
      dtPicker1_(named(new QDateEdit(this), "DTPicker1")),
      option1_(named(new QRadioButton(u"General Por Vendedor"_s, this), "Option1")),
      option2_(named(new QRadioButton(u"Detallar Por Vendedor"_s, this), "Option2")),
      text1_(numberField("Text1", columns_)),
      text2_(numberField("Text2", seconds_)),
      text3_(numberField("Text3", QString())),
      list1_(named(new QListWidget(this), "List1")),
      total_(named(new QLabel(u"0,00"_s, this), "Label4")),
      countdown_(named(new QLabel(this), "Label5")),
      timer1_(named(new QTimer(this), "Timer1")),
      timer2_(named(new QTimer(this), "Timer2")) {
    const Session& s = link.session();
    combo2_->addItem(s.CodVendedor + u" - "_s + s.NombreVendedor);
    dtPicker1_->setDisplayFormat(u"dd/MM/yyyy"_s);
    dtPicker1_->setCalendarPopup(true);
    const QDate known = QDate::fromString(s.FechaServidor, u"dd/MM/yyyy"_s);
    dtPicker1_->setDate(known.isValid() ? known : QDate::currentDate());
    text3_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]{0,3}"_s), text3_));
    QFont fixed(u"Monospace"_s);
    fixed.setStyleHint(QFont::TypeWriter);
    list1_->setFont(fixed);
    list1_->setMinimumSize(720, 380);
    option1_->setChecked(true);
    combo2_->setEnabled(false);

    auto* choice = new QGridLayout;
    choice->addWidget(new QLabel(u"Loteria:"_s, this), 0, 0);
    choice->addWidget(combo1_, 0, 1);
    choice->addWidget(new QLabel(u"Vendedor:"_s, this), 1, 0);
    choice->addWidget(combo2_, 1, 1);
    choice->addWidget(new QLabel(u"Fecha:"_s, this), 2, 0);
    choice->addWidget(dtPicker1_, 2, 1);
    auto* kinds = new QGroupBox(u"Tipo de Reporte"_s, this);
    auto* kindsLayout = new QVBoxLayout(kinds);
    kindsLayout->addWidget(option1_);
    kindsLayout->addWidget(option2_);
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(u"Nro. Columnas a Visualizar"_s, this), 0, 0);
    fields->addWidget(text1_, 0, 1);
    fields->addWidget(new QLabel(u"Segundos para Actualizar"_s, this), 1, 0);
    fields->addWidget(text2_, 1, 1);
    fields->addWidget(new QLabel(u"Numero a Consultar"_s, this), 2, 0);
    fields->addWidget(text3_, 2, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(choice);
    top->addWidget(kinds);
    top->addLayout(fields);

    auto* command1 = button("Command1", u"Actualizar Ya"_s);
    auto* command2 = button("Command2", u"Regresar al Menú Principal"_s);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(u"Total en Venta Bs.:"_s, this));
    bottom->addWidget(total_);
    bottom->addWidget(countdown_, 1);
    bottom->addWidget(command1);
    bottom->addWidget(command2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list1_);
    layout->addLayout(bottom);

    useColoursOf(s);
    for (QLineEdit* field : {text1_, text2_, text3_}) watch(field, true);
    watch(dtPicker1_, false);
    timer2_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &MonitorScreen::listing);
    connect(timer2_, &QTimer::timeout, this, &MonitorScreen::tick);
    connect(command1, &QPushButton::clicked, this, &MonitorScreen::listing);
    connect(command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(text3_, &QLineEdit::returnPressed, this, &MonitorScreen::listing);
    connect(text1_, &QLineEdit::editingFinished, this,
            [this] { keepValid(text1_, columns_, kMostColumns); });
    connect(text2_, &QLineEdit::editingFinished, this,
            [this] { keepValid(text2_, seconds_, kMostSeconds); });
    connect(option1_, &QRadioButton::toggled, this,
            [this](bool general) { combo2_->setEnabled(!general); });
}

QLineEdit* MonitorScreen::numberField(const char* name, const QString& initial) {
    auto* field = named(new QLineEdit(initial, this), name);
    field->setMaxLength(4);
    return field;
}

bool MonitorScreen::load() {
    if (!link_.open()) {
        programEnd_.end();
        return false;
    }
    if (link_.refreshServerDate()) {
        dtPicker1_->setDate(
            QDate::fromString(link_.server().session().FechaServidor, u"dd/MM/yyyy"_s));
    }
    auto lotteries = link_.exec(u"DSPLOT '4', '0'"_s);
    if (lotteries) {
        const RecordSet& rows = lotteries.value().rows;
        for (int r = 0; r < rows.size(); ++r) {
            combo1_->addItem(rows.text(r, u"COD_LOT"_s).trimmed() + u" - "_s +
                             rows.text(r, u"desc_lot"_s).trimmed());
        }
    }
    combo1_->setCurrentIndex(-1);
    return true;
}

QWidget* MonitorScreen::firstField() const {
    return combo1_;
}

sales_monitor::Kind MonitorScreen::kind() const {
    return option1_->isChecked() ? sales_monitor::Kind::General : sales_monitor::Kind::Detallado;
}

void MonitorScreen::keepValid(QLineEdit* field, QString& previous, int most) {
    if (sales_monitor::positiveNumber(field->text(), most)) {
        previous = field->text().trimmed();
    } else {
        field->setText(previous);
    }
}

void MonitorScreen::stopTimers() {
    timer1_->stop();
    timer2_->stop();
}

void MonitorScreen::tick() {
    if (remaining_ > 0) --remaining_;
    countdown_->setText(sales_monitor::countdownText(remaining_));
}

void MonitorScreen::listing() {
    stopTimers();
    Dialogs& dialogs = link_.server().dialogs();
    if (combo1_->currentIndex() < 0) {
        dialogs.message(DialogIcon::Information, kTituloPuntoVenta,
                        u"No hay Datos para la Consulta Solicitada... Por Favor Seleccione una "
                        u"Loteria para obtener el Reporte"_s);
        return;
    }
    const QString lottery = combo1_->currentText().left(3).trimmed();
    const QString vendor = link_.server().session().CodVendedor;
    auto answer =
        link_.call(sales_monitor::listing(kind(), lottery, vendor, dtPicker1_->date()), true);
    if (!answer) return;
    if (answer.value().rows.empty()) {
        list1_->clear();
        total_->setText(Money().display());
        countdown_->clear();
        dialogs.message(DialogIcon::Information, kTituloPuntoVenta,
                        u"No hay Datos para la Consulta Solicitada"_s);
        return;
    }
    const auto entries = sales_monitor::entries(answer.value().rows);
    QStringList lines = sales_monitor::lines(
        entries, sales_monitor::positiveNumber(columns_, kMostColumns).value_or(5));
    const QString number = text3_->text().trimmed();
    if (!number.isEmpty()) {
        auto single =
            link_.call(sales_monitor::single(lottery, vendor, dtPicker1_->date(), number));
        if (!single) return;
        lines << sales_monitor::numberBlock(number, single.value().rows.value(0, u"SUMAT"_s));
    }
    list1_->clear();
    list1_->addItems(lines);
    total_->setText(sales_monitor::total(entries).display());
    remaining_ = sales_monitor::positiveNumber(seconds_, kMostSeconds).value_or(30);
    countdown_->setText(sales_monitor::countdownText(remaining_));
    timer1_->start(remaining_ * 1000);
    timer2_->start();
}

}  // namespace vendura
