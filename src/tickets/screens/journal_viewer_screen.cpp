#include "tickets/screens/journal_viewer_screen.h"

#include "platform/code_page_437.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"
#include "tickets/journal_audit.h"

#include <QDateEdit>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace vendura {

JournalViewerScreen::JournalViewerScreen(ServerLink& link, QString journalFolder, QWidget* parent)
    : SecondaryScreen(parent, u"Form6"_s, u"Auditar Tickets"_s),
      link_(link),
      journalFolder_(std::move(journalFolder)),
      dtPicker1_(named(new QDateEdit(this), "DTPicker1")),
      richTextBox1_(named(new QPlainTextEdit(this), "RichTextBox1")),
      text1_(named(new QLineEdit(this), "Text1")) {
    dtPicker1_->setDisplayFormat(u"dd/MM/yyyy"_s);
    dtPicker1_->setCalendarPopup(true);
    dtPicker1_->setKeyboardTracking(false);
    const QDate known = QDate::fromString(link.session().FechaServidor, u"dd/MM/yyyy"_s);
    dtPicker1_->setDate(known.isValid() ? known : QDate::currentDate());
    richTextBox1_->setReadOnly(true);
    richTextBox1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(u"Monospace"_s);
    fixed.setStyleHint(QFont::TypeWriter);
    richTextBox1_->setFont(fixed);
    richTextBox1_->setMinimumSize(460, 480);
    text1_->setMaxLength(10);
    useColoursOf(link.session());
    watch(text1_, true);
    watch(dtPicker1_, false);

    auto* findButton = button("XPButton2", u"Buscar"_s);
    auto* close = button("XPButton1", u"Salir"_s);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Seleccione la Fecha:"_s, this));
    top->addWidget(dtPicker1_);
    top->addStretch();
    top->addWidget(new QLabel(u"Nro. Ticket:"_s, this));
    top->addWidget(text1_);
    top->addWidget(findButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(richTextBox1_);
    layout->addWidget(close, 0, Qt::AlignRight);

    connect(dtPicker1_, &QDateEdit::dateChanged, this, &JournalViewerScreen::load);
    connect(findButton, &QPushButton::clicked, this, &JournalViewerScreen::find);
    connect(text1_, &QLineEdit::returnPressed, this, &JournalViewerScreen::find);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    load();
}

JournalViewerScreen::~JournalViewerScreen() {
    removeWorkingFile();
}

QWidget* JournalViewerScreen::firstField() const {
    return text1_;
}

void JournalViewerScreen::load() {
    const Session& s = link_.session();
    richTextBox1_->clear();
    auto prepared = journal_audit::prepareWorkingFile(journalFolder_, dtPicker1_->date(),
                                                      s.CodVendedor, s.Usuario);
    if (!prepared) {
        link_.dialogs().message(DialogIcon::Critical, kTituloAtencion,
                                prepared.error().description);
        return;
    }
    if (!prepared.value()) return;
    auto text = files::read(journal_audit::workingFile(journalFolder_));
    if (text) richTextBox1_->setPlainText(fromCodePage437(text.value()).remove(u'\r'));
}

bool JournalViewerScreen::find() {
    const QString wanted = journal_audit::searchText(text1_->text());
    if (wanted.isEmpty()) return false;
    richTextBox1_->moveCursor(QTextCursor::Start);
    if (richTextBox1_->find(wanted)) return true;
    link_.dialogs().message(DialogIcon::Information, kTituloAtencion,
                            u"No se encontró el ticket "_s + text1_->text().trimmed());
    return false;
}

void JournalViewerScreen::removeWorkingFile() {
    files::remove(journal_audit::workingFile(journalFolder_));
}

void JournalViewerScreen::done(int result) {
    removeWorkingFile();
    SecondaryScreen::done(result);
}

}  // namespace vendura
