#include "core/base/TracePoint.h"

namespace belvaron {

int TracePoint = 0;

}  // namespace belvaron
