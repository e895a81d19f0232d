#include "app/Workflow.h"

namespace belvaron {

// The online update check is added here.

}  // namespace belvaron
