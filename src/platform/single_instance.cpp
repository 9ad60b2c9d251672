#include "platform/single_instance.h"

namespace vendura {

SingleInstance::SingleInstance(const QString& lockPath) : lock_(lockPath) {
    lock_.setStaleLockTime(0);  // a lock left by a crashed copy is taken over
    acquired_ = lock_.tryLock(0);
}

}  // namespace vendura
