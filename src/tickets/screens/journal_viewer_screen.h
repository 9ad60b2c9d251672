#pragma once

#include "session/screens/secondary_screen.h"

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;

namespace vendura {

class ServerLink;

// Form6 "Auditar Tickets": the chosen day's ticket journal of this counter's seller,
// descrambled into the working file and shown as it was printed; a ticket number is found from
// the top. The working file is deleted when the screen closes.
class JournalViewerScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    JournalViewerScreen(ServerLink& link, QString journalFolder, QWidget* parent = nullptr);
    ~JournalViewerScreen() override;

    // The chosen day's journal into the working file and the text box.
    void load();
    // `XPButton2`: moves to the first place of the typed ticket number; false when it is not
    // there.
    bool find();
    void done(int result) override;

  protected:
    QWidget* firstField() const override;

  private:
    void removeWorkingFile();

    ServerLink& link_;
    QString journalFolder_;
    QDateEdit* dtPicker1_;
    QPlainTextEdit* richTextBox1_;
    QLineEdit* text1_;
};

}  // namespace vendura
