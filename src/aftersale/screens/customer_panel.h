#pragma once

#include "aftersale/customer_record.h"

#include <QGroupBox>

#include <functional>

class QLineEdit;
class QPushButton;

namespace vendura {

class ServerLink;

// Frame1 "Información Fiscal": the customer who collects the prize, looked up by identity
// number (Text6, Enter or XPButton1) or typed and saved (XPButton2 "Grabar").
class CustomerPanel : public QGroupBox {
    Q_OBJECT
  public:
    // finished: the panel is done with (saved); the screen takes the focus back.
    CustomerPanel(ServerLink& link, std::function<void()> finished, QWidget* parent);

    QLineEdit* cedula() const { return text6_; }
    QList<QLineEdit*> fields() const;
    QList<QPushButton*> buttons() const;
    // The identity number the payment is made to: the one typed, else the customer accepted
    // or saved in this session.
    QString customerId() const;
    QString customerName() const;

    void lookUp();
    void continueOrSave();
    void closePanel();
    // The customer of one payment is of that payment only: the fields and what the session held
    // of them are emptied after it, and when the panel closes.
    void forget();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Customer typed() const;
    void clearFields();
    void setDetailsEnabled(bool enabled);

    ServerLink& link_;
    CustomerRecord record_;
    std::function<void()> finished_;
    QLineEdit* text6_;
    QLineEdit* text5_;
    QLineEdit* text3_;
    QLineEdit* text4_;
    QPushButton* xpButton1_;
    QPushButton* xpButton2_;
    QPushButton* xpButton3_;
};

}  // namespace vendura
