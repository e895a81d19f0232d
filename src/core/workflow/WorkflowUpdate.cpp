#include <cctype>
#include <memory>

#include "core/base/Profile.h"
#include "core/platform/System.h"
#include "core/update/SystemTransport.h"
#include "core/update/UpdateChecker.h"
#include "core/update/UpdateSettings.h"
#include "core/update/Version.h"
#include "core/workflow/Workflow.h"

namespace belvaron {

bool Workflow::CheckForUpdate() {
    const std::string product = kProductName;
    std::string setupFile = "setup_" + product + ".exe";
    for (char& ch : setupFile) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    UpdateChecker updater(ui_, MakeSystemTransport());
    const bool result = updater.CheckForUpdate(product, UpdateBaseUrl(Profile()),
                                               "updates/" + product + "/ReadMe.txt", setupFile);
    // The installer runs on its own and leaves nothing behind while the
    // program stays open.
    platform::ReleaseProcess(updater.installerPid);
    return result;
}

}  // namespace belvaron
