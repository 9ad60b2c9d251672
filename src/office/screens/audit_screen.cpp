#include "office/screens/audit_screen.h"

#include "office/audit_trail.h"
#include "office/screens/key_hook.h"
#include "office/screens/table_rows.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vendura::office {
namespace {
const QString kTitle = u"Auditoría"_s;
}

AuditScreen::AuditScreen(AdminLink& link, Dialogs& dialogs, const QDate& today,
                         const QString& folder, QWidget* parent)
    : QWidget(parent), link_(link), dialogs_(dialogs) {
    setObjectName(u"AuditScreen"_s);
    const auto field = [this](const QString& name, const QString& text) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(name);
        connect(edit, &QLineEdit::returnPressed, this, &AuditScreen::search);
        return edit;
    };
    from_ = field(u"txtDesde"_s, today.toString(Qt::ISODate));
    to_ = field(u"txtHasta"_s, today.toString(Qt::ISODate));
    vendor_ = field(u"txtPunto"_s, QString());
    user_ = field(u"txtVendedor"_s, QString());
    action_ = field(u"txtAccion"_s, QString());
    file_ = new QLineEdit(QDir(folder).filePath(u"auditoria.csv"_s), this);
    file_->setObjectName(u"txtArchivo"_s);
    auto* search = new QPushButton(u"&Buscar"_s, this);
    auto* write = new QPushButton(u"E&xportar CSV (Ctrl+E)"_s, this);
    write->setObjectName(u"btnExportar"_s);
    found_ = new QLabel(this);
    found_->setObjectName(u"lblEncontrado"_s);
    rows_ = new QTableWidget(0, 6, this);
    rows_->setObjectName(u"tblAuditoria"_s);
    rows_->setHorizontalHeaderLabels(
        {u"Momento"_s, u"Acción"_s, u"Punto"_s, u"Vendedor"_s, u"Cuenta"_s, u"Detalle"_s});
    rows_->horizontalHeader()->setStretchLastSection(true);
    rows_->verticalHeader()->hide();
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* fields = new QGridLayout;
    const std::pair<const char16_t*, QLineEdit*> labelled[] = {
        {u"&Desde", from_},    {u"&Hasta", to_},      {u"&Punto", vendor_},
        {u"&Vendedor", user_}, {u"&Acción", action_}, {u"Archivo", file_}};
    int i = 0;
    for (const auto& [label, edit] : labelled) {
        auto* l = new QLabel(QString::fromUtf16(label), this);
        l->setBuddy(edit);
        fields->addWidget(l, i / 3, (i % 3) * 2);
        fields->addWidget(edit, i / 3, (i % 3) * 2 + 1);
        ++i;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(search);
    buttons->addWidget(write);
    buttons->addWidget(found_, 1);
    layout->addLayout(buttons);
    layout->addWidget(rows_, 1);
    connect(search, &QPushButton::clicked, this, &AuditScreen::search);
    setFocusProxy(from_);
    connect(write, &QPushButton::clicked, this, &AuditScreen::exportCsv);
    // from any field, before a field takes Ctrl+E for a move to the line's end
    new KeyHook(this, Qt::CTRL | Qt::Key_E,
                {from_, to_, vendor_, user_, action_, file_, rows_, search, write},
                [this] { exportCsv(); });
}

void AuditScreen::search() {
    auto rows = searchAudit(
        link_, {from_->text(), to_->text(), vendor_->text(), user_->text(), action_->text()});
    if (!rows) {
        dialogs_.message(DialogIcon::Critical, kTitle, rows.error().description);
        return;
    }
    last_ = rows.value();
    std::vector<QStringList> shown;
    for (int r = 0; r < last_.size(); ++r) {
        QStringList texts;
        for (const char16_t* f :
             {u"momento", u"accion", u"cod_vendedor", u"cod_usuario", u"cuenta", u"detalle"}) {
            texts << last_.text(r, QString::fromUtf16(f));
        }
        texts[0] = texts[0].left(19);
        shown.push_back(texts);
    }
    showRows(rows_, shown);
    rows_->resizeColumnsToContents();
    rows_->resizeRowsToContents();
    found_->setText(auditFound(last_));
}

void AuditScreen::exportCsv() {
    QFile file(file_->text().trimmed());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(toCsv(last_).toUtf8()) < 0 || !file.flush()) {
        dialogs_.message(
            DialogIcon::Critical, kTitle,
            u"No se pudo escribir "_s + file.fileName() + u": "_s + file.errorString());
        return;
    }
    found_->setText(auditFound(last_) + u"; escritos en "_s + file.fileName());
}

}  // namespace vendura::office
