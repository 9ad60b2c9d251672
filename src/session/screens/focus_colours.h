#pragma once

#include <QObject>

class QWidget;

namespace vendura {

// Gives an entry field the focus colour while it has the focus and the normal colour
// otherwise; text fields also select their whole text when entered.
class FocusColours : public QObject {
  public:
    FocusColours(quint32 focusRgb, quint32 normalRgb, QObject* parent);
    void watch(QWidget* field, bool selectAllOnEntry = false);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    quint32 focus_;
    quint32 normal_;
};

void setBackground(QWidget* field, quint32 rgb);
// Selects the whole text of a text field (a line edit, or an editable combo's), so that what is
// typed next replaces it; other widgets are left as they are.
void selectWholeText(QWidget* field);

}  // namespace vendura
