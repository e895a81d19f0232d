#include "core/update/SystemTransport.h"

#ifdef _WIN32
#include "core/update/WinHttpTransport.h"
#else
#include "core/update/CurlTransport.h"
#endif

namespace belvaron {

std::unique_ptr<Transport> MakeSystemTransport(TransportTimeouts timeouts) {
#ifdef _WIN32
    return std::make_unique<WinHttpTransport>(timeouts);
#else
    return std::make_unique<CurlTransport>(timeouts);
#endif
}

}  // namespace belvaron
