#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/result.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace vendura::test {

// Keeps every box shown and answers questions from a script (Yes when the script is empty).
class DialogRecorder final : public Dialogs {
  public:
    struct Shown {
        DialogIcon icon;
        QString title;
        QString text;
        bool question = false;
        bool defaultYes = true;
    };

    void message(DialogIcon icon, const QString& title, const QString& text) override {
        shown.push_back({icon, title, text, false, true});
    }
    bool question(DialogIcon icon, const QString& title, const QString& text,
                  bool defaultYes) override {
        shown.push_back({icon, title, text, true, defaultYes});
        if (answers.empty()) return true;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    QStringList texts() const {
        QStringList out;
        for (const Shown& s : shown) out << s.text;
        return out;
    }
    const Shown& last() const { return shown.back(); }
    void clear() { shown.clear(); }

    std::vector<Shown> shown;
    std::deque<bool> answers;
};

class LauncherRecorder final : public Launcher {
  public:
    bool start(const QString& program, const QStringList& arguments) override {
        started << program + u" "_s + arguments.join(u' ');
        return true;
    }
    bool openDocument(const QString& path) override {
        opened << path;
        return true;
    }
    Result<void> shutdown(ShutdownMode mode) override {
        shutdowns.push_back(mode);
        if (shutdownRefusal.isEmpty()) return {};
        return Error{1, shutdownRefusal};
    }
    QStringList started;
    QString shutdownRefusal;  // what the platform says when it refuses; empty: it obeys
    QStringList opened;
    std::vector<ShutdownMode> shutdowns;
};

class ProgramEndRecorder final : public ProgramEnd {
  public:
    void end() override { ++ends; }
    int ends = 0;
};

class FixedClock final : public Clock {
  public:
    explicit FixedClock(QDateTime at) : at_(std::move(at)) {}
    QDateTime now() const override { return at_; }

  private:
    QDateTime at_;
};

class ScriptedRandom final : public RandomSource {
  public:
    quint32 ticketNumber() override {
        if (numbers.empty()) return 1234567;
        const quint32 n = numbers.front();
        numbers.pop_front();
        return n;
    }
    std::deque<quint32> numbers;
};

}  // namespace vendura::test
