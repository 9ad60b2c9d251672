#include "reports/screens/report_screen.h"

#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "reports/report_frame.h"
#include "reports/screens/report_pdf.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vendura {
ReportScreen::ReportScreen(ReportDeps deps, const char* name, const QString& caption,
                           const char* toName, QWidget* parent)
    : SecondaryScreen(parent, QString::fromLatin1(name), caption),
      deps_(std::move(deps)),
      link_(deps_.link),
      esdesde_(dateChooser("esdesde")),
      top_(new QHBoxLayout),
      list1_(named(new QListWidget(this), "List1")),
      progress_(named(new QProgressBar(this), "ProgressBar1")) {
    QFont fixed(u"Monospace"_s);
    fixed.setStyleHint(QFont::TypeWriter);
    list1_->setFont(fixed);
    list1_->setMinimumSize(520, 420);
    progress_->setRange(0, 3);
    progress_->setTextVisible(false);
    progress_->hide();
    const QDate known = QDate::fromString(session().FechaServidor, u"dd/MM/yyyy"_s);
    esdesde_->setDate(known.isValid() ? known : QDate::currentDate());

    top_->addWidget(new QLabel(toName ? u"Desde:"_s : u"Fecha:"_s, this));
    top_->addWidget(esdesde_);
    if (toName) {
        hasta_ = dateChooser(toName);
        hasta_->setDate(esdesde_->date());
        top_->addWidget(new QLabel(u"Hasta:"_s, this));
        top_->addWidget(hasta_);
    }
    top_->addStretch();

    QPushButton* command1 = button("Command1", u"&Generar"_s);
    QPushButton* command3 = button("Command3", u"&Imprimir"_s);
    QPushButton* command4 = button("Command4", u"P&DF"_s);
    QPushButton* command2 = button("Command2", u"&Salir"_s);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {command1, command3, command4}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(command2);

    useColoursOf(session());
    for (QDateEdit* chooser : {esdesde_, hasta_}) {
        if (chooser) watch(chooser, false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top_);
    layout->addWidget(list1_);
    layout->addWidget(progress_);
    layout->addLayout(buttons);

    connect(command1, &QPushButton::clicked, this, &ReportScreen::compose);
    connect(command3, &QPushButton::clicked, this, &ReportScreen::print);
    connect(command4, &QPushButton::clicked, this, &ReportScreen::saveAsPdf);
    connect(command2, &QPushButton::clicked, this, &QDialog::reject);
}

ReportScreen::~ReportScreen() = default;

QDateEdit* ReportScreen::dateChooser(const char* name) {
    auto* chooser = named(new QDateEdit(this), name);
    chooser->setDisplayFormat(u"dd/MM/yyyy"_s);
    chooser->setCalendarPopup(true);
    // a date typed digit by digit is taken when it is complete (Enter or leaving the field)
    chooser->setKeyboardTracking(false);
    connect(chooser, &QDateEdit::dateChanged, this, [this] {
        if (opened_) compose();
    });
    return chooser;
}

void ReportScreen::addOption(const QString& label, QComboBox* combo) {
    const int at = top_->count() - 1;
    top_->insertWidget(at, new QLabel(label, this));
    top_->insertWidget(at + 1, combo);
    connect(combo, &QComboBox::currentIndexChanged, this, [this] {
        if (opened_) compose();
    });
}

bool ReportScreen::load() {
    if (!link_.open()) {
        deps_.programEnd.end();
        return false;
    }
    if (link_.refreshServerDate()) {
        const QDate day = QDate::fromString(session().FechaServidor, u"dd/MM/yyyy"_s);
        const QSignalBlocker blockFrom(esdesde_);
        esdesde_->setDate(day);
        if (hasta_) {
            const QSignalBlocker blockTo(hasta_);
            hasta_->setDate(day);
        }
    }
    opened_ = true;
    compose();
    return true;
}

QWidget* ReportScreen::firstField() const {
    return esdesde_;
}

QDate ReportScreen::from() const {
    return esdesde_->date();
}

QDate ReportScreen::to() const {
    return hasta_ ? hasta_->date() : esdesde_->date();
}

Session& ReportScreen::session() {
    return deps_.link.session();
}

Dialogs& ReportScreen::dialogs() {
    return deps_.link.dialogs();
}

void ReportScreen::step(int value) {
    progress_->setValue(value);
    progress_->setVisible(value < progress_->maximum());
    progress_->repaint();
}

void ReportScreen::compose() {
    list1_->clear();
    if (const auto problem = report::periodProblem(from(), to())) {
        dialogs().message(DialogIcon::Critical, kTituloAtencion, *problem);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    step(1);
    link_.readPastDays(to() < QDate::fromString(session().FechaServidor, u"dd/MM/yyyy"_s));
    const std::optional<QStringList> composed = build(link_);
    step(2);
    if (composed) list1_->addItems(*composed);
    step(3);
    QApplication::restoreOverrideCursor();
}

QStringList ReportScreen::lines() const {
    QStringList out;
    for (int i = 0; i < list1_->count(); ++i) out << list1_->item(i)->text();
    return out;
}

bool ReportScreen::print() {
    return report::printReport(deps_.printers, dialogs(), session(), lines());
}

QString ReportScreen::saveAsPdf() {
    const QString folder = deps_.pdfFolder + u"/reportes"_s;
    const QString path = folder + u"/"_s + objectName() + u"-"_s +
                         QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s) + u".pdf"_s;
    auto saved = QDir().mkpath(folder)
                     ? writeReportPdf(path, windowTitle(), report::paperLines(lines(), QString()))
                     : Result<void>(Error{1, u"No se pudo crear "_s + folder});
    if (!saved) {
        dialogs().message(DialogIcon::Critical, kTituloAtencion,
                          u"No se pudo guardar el reporte: "_s + saved.error().description);
        return QString();
    }
    dialogs().message(DialogIcon::Information, kTituloAtencion, u"Reporte guardado en "_s + path);
    return path;
}

}  // namespace vendura
