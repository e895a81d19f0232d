#include "core/base/WriteSignals.h"

#include "core/platform/System.h"

namespace belvaron {

void TurnWriteSignalsIntoErrors() { platform::IgnoreWriteSignals(); }

}  // namespace belvaron
