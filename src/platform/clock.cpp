#include "platform/clock.h"

#include <QRandomGenerator>

namespace vendura {

quint32 SystemRandom::ticketNumber() {
    return QRandomGenerator::system()->bounded(2000000001u) + 1u;
}

}  // namespace vendura
