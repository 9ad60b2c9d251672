#pragma once
// What the desk's live screens (counters selling now, exposure, the day's sales) share: they read
// their figures again every few seconds while shown, and say so.
#include <QString>

namespace vendura::office {

constexpr int kLiveRefreshMs = 5000;

// " (se lee de nuevo cada 5 s)", after a screen's summary.
QString readAgainEvery();

// A re-read that failed, said on the screen instead of what it showed: `what` ("No se pudo leer
// de nuevo"), the reason in brackets and when it is tried again.
QString readAgainFailed(const QString& what, const QString& reason);

}  // namespace vendura::office
