#include "bookings/DataSet.h"

namespace belvaron {

// Not built yet.
int CDataSet::LoadJournal(const std::string&, int) {
    journalLoaded = 0;
    vatRowCount = 0;
    bookingCount = 0;
    return 0;
}

}  // namespace belvaron
