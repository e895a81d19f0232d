#include "bookings/DataSet.h"

namespace belvaron {

// Not built yet.
bool CDataSet::ImportVatReport(const std::string&) { return false; }
bool CDataSet::RedateVatBookings() { return false; }

}  // namespace belvaron
