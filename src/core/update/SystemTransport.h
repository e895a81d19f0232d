#pragma once

#include <memory>

#include "core/update/Transport.h"

namespace belvaron {

// The platform's transport to the update server: WinHTTP on Windows,
// libcurl elsewhere, with the default time-outs.
std::unique_ptr<Transport> MakeSystemTransport();

}  // namespace belvaron
