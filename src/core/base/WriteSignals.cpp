#include "core/base/WriteSignals.h"

#include <csignal>

namespace belvaron {

void TurnWriteSignalsIntoErrors() {
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace belvaron
