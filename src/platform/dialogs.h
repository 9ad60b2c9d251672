#pragma once

#include <QString>

namespace vendura {

enum class DialogIcon { None, Information, Critical, Exclamation, Question };

// Message boxes. Texts may carry carriage returns (character 13) as line breaks.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void message(DialogIcon icon, const QString& title, const QString& text) = 0;
    // Yes/No question; true for Yes.
    virtual bool question(DialogIcon icon, const QString& title, const QString& text,
                          bool defaultYes = true) = 0;
};

}  // namespace vendura
