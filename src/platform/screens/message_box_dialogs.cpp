#include "platform/screens/message_box_dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace vendura {
namespace {

QMessageBox::Icon boxIcon(DialogIcon icon) {
    switch (icon) {
        case DialogIcon::Information:
            return QMessageBox::Information;
        case DialogIcon::Critical:
            return QMessageBox::Critical;
        case DialogIcon::Exclamation:
            return QMessageBox::Warning;
        case DialogIcon::Question:
            return QMessageBox::Question;
        case DialogIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Texts break lines with a bare carriage return.
QString shown(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}

}  // namespace

void MessageBoxDialogs::message(DialogIcon icon, const QString& title, const QString& text) {
    QMessageBox box(boxIcon(icon), title, shown(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool MessageBoxDialogs::question(DialogIcon icon, const QString& title, const QString& text,
                                 bool defaultYes) {
    QMessageBox box(boxIcon(icon), title, shown(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace vendura
