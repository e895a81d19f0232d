#include <sys/wait.h>

#include <cctype>
#include <memory>
#include <thread>

#include "core/base/Profile.h"
#include "core/update/CurlTransport.h"
#include "core/update/UpdateChecker.h"
#include "core/update/UpdateSettings.h"
#include "core/update/Version.h"
#include "core/workflow/Workflow.h"

namespace belvaron {

bool Workflow::CheckForUpdate() {
    const std::string product = kProductName;
    std::string setupFile = "setup_" + product + ".exe";
    for (char& ch : setupFile) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    UpdateChecker updater(ui_, std::make_unique<CurlTransport>());
    const bool result = updater.CheckForUpdate(product, UpdateBaseUrl(Profile()),
                                               "updates/" + product + "/ReadMe.txt", setupFile);
    // The installer runs on its own; its end is collected so that it leaves
    // no zombie behind while the program stays open.
    if (const pid_t pid = updater.installerPid; pid > 0) {
        std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    }
    return result;
}

}  // namespace belvaron
