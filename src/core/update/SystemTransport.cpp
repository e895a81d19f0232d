#include "core/update/SystemTransport.h"

#ifdef _WIN32
#include "core/update/WinHttpTransport.h"
#else
#include "core/update/CurlTransport.h"
#endif

namespace belvaron {

std::unique_ptr<Transport> MakeSystemTransport() {
#ifdef _WIN32
    return std::make_unique<WinHttpTransport>();
#else
    return std::make_unique<CurlTransport>();
#endif
}

}  // namespace belvaron
