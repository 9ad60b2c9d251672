#include "sales/screens/message_window.h"

#include "platform/result.h"
#include "session/screens/named.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QVBoxLayout>

namespace vendura {

MessageWindow::MessageWindow(QWidget* over) : SecondaryScreen(over) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(u"Form21"_s);
    setWindowTitle(u"Kalv Mensajes"_s);
    auto* layout = new QVBoxLayout(this);
    list1_ = named(new QListWidget, "List1");
    // the lines are cut at 65 characters and ruled with 100 asterisks: a fixed pitch keeps them so
    list1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(list1_);
    resize(760, 420);
}

void MessageWindow::addLines(const QStringList& lines) {
    list1_->addItems(lines);
}

QStringList MessageWindow::lines() const {
    QStringList out;
    for (int i = 0; i < list1_->count(); ++i) out << list1_->item(i)->text();
    return out;
}

void MessageWindow::showEvent(QShowEvent* event) {
    SecondaryScreen::showEvent(event);
    list1_->setFocus(Qt::OtherFocusReason);
    list1_->setCurrentRow(0);
}

}  // namespace vendura
