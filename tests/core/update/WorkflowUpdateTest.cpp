#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "FakeUi.h"
#include "LocalHttpServer.h"
#include "TempDir.h"
#include "core/update/UpdateMessages.h"
#include "core/workflow/Workflow.h"

namespace belvaron {
namespace {

// "Updates?" asks the configured server for updates/Belvaron/ReadMe.txt and
// fetches setup_belvaron.exe from the base URL itself.
TEST(WorkflowUpdate, UsesTheConfiguredServerAndTheProductsFileNames) {
    test::LocalHttpServer server;
    test::TempDir temp;
    test::LocalHttpServer::Reply info;
    info.body = "Programmhistory\nVersion: Belvaron V2.4: neu\nVersion: Belvaron V2.3: alt\n";
    server.Serve("/updates/Belvaron/ReadMe.txt", info);
    test::LocalHttpServer::Reply installer;
    installer.body = "#!/bin/sh\nexit 0\n";
    server.Serve("/setup_belvaron.exe", installer);
    for (const char* v : {"http_proxy", "HTTP_PROXY", "ALL_PROXY", "all_proxy"}) unsetenv(v);
    setenv("BELVARON_UPDATE_URL", server.Url().c_str(), 1);
    setenv("TMPDIR", temp.path().c_str(), 1);

    test::FakeUi ui;
    Workflow flow(ui);
    ui.updateDialogAnswers.push_back(true);
    const bool result = flow.CheckForUpdate();
    unsetenv("BELVARON_UPDATE_URL");
    unsetenv("TMPDIR");

    EXPECT_TRUE(result);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{msg::kUpdExitQuestion});
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].starts_with("GET /updates/Belvaron/ReadMe.txt ")) << requests[0];
    EXPECT_TRUE(requests[1].starts_with("GET /setup_belvaron.exe ")) << requests[1];
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1);
}

}  // namespace
}  // namespace belvaron
