#pragma once

#include <memory>

#include "core/update/Transport.h"

namespace belvaron {

// The platform's transport to the update server: WinHTTP on Windows,
// libcurl elsewhere.
std::unique_ptr<Transport> MakeSystemTransport(TransportTimeouts timeouts = {});

}  // namespace belvaron
