#include "bookings/DataSet.h"

namespace belvaron {

// Not built yet.
bool CDataSet::ExportLexware(const std::string&) { return false; }

}  // namespace belvaron
