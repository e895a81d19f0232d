#pragma once

namespace belvaron {

// The one global stage marker. Every operation sets it to its fixed stage
// number before each stage; the handlers' exception messages show it.
extern int TracePoint;

}  // namespace belvaron
