#pragma once

#include <QLockFile>
#include <QString>

namespace vendura {

// Refuses a second copy of the program on one machine: the lock lives as long as this object.
class SingleInstance {
  public:
    explicit SingleInstance(const QString& lockPath);
    bool acquired() const { return acquired_; }

  private:
    QLockFile lock_;
    bool acquired_ = false;
};

}  // namespace vendura
