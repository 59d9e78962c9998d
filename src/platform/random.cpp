#include "platform/random.h"

#include <QRandomGenerator>

namespace platform {
namespace {
RandomSource& source() {
    static RandomSource s;
    return s;
}
} // namespace

int randomBelow(int bound) {
    if (bound < 1)
        return 0;
    if (source()) {
        const int value = source()(bound);
        // A script that answers out of range cannot break the caller.
        return value < 0 ? 0 : value % bound;
    }
    return static_cast<int>(QRandomGenerator::global()->bounded(bound));
}

RandomSource setRandomSource(RandomSource s) {
    RandomSource old = std::move(source());
    source() = std::move(s);
    return old;
}

} // namespace platform
