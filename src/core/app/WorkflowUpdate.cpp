#include <cctype>
#include <memory>

#include "app/Profile.h"
#include "app/Workflow.h"
#include "update/AutoUpdater.h"
#include "update/CurlTransport.h"
#include "update/UpdateSettings.h"
#include "update/Version.h"

namespace belvaron {

bool Workflow::OnUpdates() {
    const std::string product = kProductName;
    std::string setupFile = "setup_" + product + ".exe";
    for (char& ch : setupFile) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    CAutoUpdater updater(ui_, std::make_unique<CurlTransport>());
    return updater.CheckForUpdate(product, UpdateBaseUrl(Profile()),
                                  "updates/" + product + "/ReadMe.txt", setupFile);
}

}  // namespace belvaron
