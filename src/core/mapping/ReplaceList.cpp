#include "bookings/DataSet.h"

namespace belvaron {

// Not built yet.
bool CDataSet::ApplyReplaceList() { return false; }

}  // namespace belvaron
