#pragma once

#include <QString>

namespace vendura {

struct Session;

// validapermiso: a command is allowed when the first three characters of its code (or of the
// caption of the button that offers it) occur anywhere in the user's permissions, whatever
// the letter case.
bool validapermiso(const Session& session, const QString& codeOrCaption);

}  // namespace vendura
