#include "datev/Datev.h"

#include "app/TracePoint.h"
#include "app/UiPort.h"

namespace belvaron {

CDatev::CDatev(UiPort& ui) : workBuffer((TracePoint = 3002, kWorkBufferSize)), ui_(ui) {
    if (!workBuffer.ok()) ShowPlain(ui_, "(E:309)\nSpeicher konnte nicht allokiert werden");
    TracePoint = 3004;
}

CDatev::~CDatev() = default;

void CDatev::SetDataSet(CDataSet* store) {
    TracePoint = 3005;
    dataSet = store;
}

// Not built yet: the settings, the writers and the account check.
bool CDatev::LoadSettings() { return false; }
bool CDatev::SaveSettings() { return false; }
void CDatev::FindDateRange() {}
int CDatev::WriteDataFile(const std::string&) { return 0; }
bool CDatev::WriteHeaderFile(const std::string&) { return false; }

}  // namespace belvaron
