#include "platform/screens/message_box_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

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

// Without a window manager (a kiosk) a window gets the keyboard only when the program gives it:
// the box takes it while it waits, and the window below gets it back.
int answer(QMessageBox& box, const QPointer<QWidget>& below) {
    box.show();
    box.activateWindow();
    const int result = box.exec();
    if (below) below->activateWindow();
    return result;
}

// Texts break lines with a bare carriage return.
QString shown(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}

}  // namespace

void MessageBoxDialogs::message(DialogIcon icon, const QString& title, const QString& text) {
    QPointer<QWidget> below = QApplication::activeWindow();
    QMessageBox box(boxIcon(icon), title, shown(text), QMessageBox::Ok, below);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("&Aceptar"));
    answer(box, below);
}

bool MessageBoxDialogs::question(DialogIcon icon, const QString& title, const QString& text,
                                 bool defaultYes) {
    QPointer<QWidget> below = QApplication::activeWindow();
    QMessageBox box(boxIcon(icon), title, shown(text), QMessageBox::Yes | QMessageBox::No, below);
    box.setTextFormat(Qt::PlainText);
    // the seller reads Spanish; the plain letters S and N answer as the mnemonics do
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    return answer(box, below) == QMessageBox::Yes;
}

}  // namespace vendura
