#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "LocalHttpServer.h"
#include "core/update/SystemTransport.h"

namespace belvaron {
namespace {

using test::LocalHttpServer;
using Reply = LocalHttpServer::Reply;

// A reply with its body and whatever `change` sets besides.
template <typename Change>
Reply Make(std::string body, Change change) {
    Reply reply;
    reply.body = std::move(body);
    change(reply);
    return reply;
}
Reply Make(std::string body) {
    return Make(std::move(body), [](Reply&) {});
}

// The platform's transport (libcurl or WinHTTP) against a local server:
// what OpenUrl and Read report for one kind of reply.
struct TransportCase {
    const char* name;
    Reply reply;
    bool opens;        // OpenUrl gives a stream
    int status;        // its status
    std::string body;  // the bytes read before the end or the failure
    int error;         // 0: the body ends normally; else OpenUrl's or Read's code
};

void PrintTo(const TransportCase& c, std::ostream* os) { *os << c.name; }

const TransportCase kCases[] = {
    {"Body", Make("V2.4\r\n"), true, 200, "V2.4\r\n", 0},
    {"NotFoundIsAStatusNotAFailure", Make("nein", [](Reply& r) { r.status = 404; }), true, 404,
     "nein", 0},
    {"Redirect", Make("", [](Reply& r) { r.status = 302, r.location = "/target"; }), true, 200,
     "angekommen", 0},
    {"BodyShorterThanAnnounced", Make("halb", [](Reply& r) { r.announcedLength = 100; }), true, 200,
     "halb", transport_error::kPartialBody},
    {"NoAnswer", Make("", [](Reply& r) { r.silent = true; }), false, 0, "",
     transport_error::kTimedOut},
    {"StallAfterTheBody", Make("abc", [](Reply& r) { r.sendLength = false, r.holdOpen = true; }),
     true, 200, "abc", transport_error::kTimedOut},
};

class SystemTransportTest : public ::testing::TestWithParam<TransportCase> {};

TEST_P(SystemTransportTest, ReportsStatusBodyAndFailure) {
    const TransportCase& c = GetParam();
    LocalHttpServer server;
    server.Serve("/info", c.reply);
    server.Serve("/target", Make("angekommen"));
    const auto transport = MakeSystemTransport(TransportTimeouts{2000, 400});
    ASSERT_TRUE(transport->IsOnline());
    std::string url = server.Url() + "info";
    const auto stream = transport->OpenUrl(url);
    ASSERT_EQ(stream != nullptr, c.opens) << transport->error();
    if (!stream) {
        EXPECT_EQ(transport->error(), c.error);
        return;
    }
    EXPECT_EQ(stream->status(), c.status);
    std::string body;
    char buffer[16];
    long n = 0;
    while ((n = stream->Read(buffer, sizeof buffer)) > 0) body.append(buffer, n);
    EXPECT_EQ(body, c.body);
    EXPECT_EQ(n < 0 ? stream->error() : 0, c.error);
}

INSTANTIATE_TEST_SUITE_P(Table, SystemTransportTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SystemTransport, AsksPastEveryCacheAndNamesItself) {
    LocalHttpServer server;
    server.Serve("/a%20b.txt", Make("x"));
    const auto transport = MakeSystemTransport();
    std::string url = server.Url() + "a b.txt";
    ASSERT_NE(transport->OpenUrl(url), nullptr);
    EXPECT_EQ(url, server.Url() + "a%20b.txt");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    for (const char* header :
         {"Cache-Control: no-cache", "Pragma: no-cache", "User-Agent: Update_Suche"}) {
        EXPECT_NE(requests[0].find(header), std::string::npos) << header << "\n" << requests[0];
    }
}

// A body that keeps trickling in ends at the deadline, not at the idle time.
TEST(SystemTransport, DeadlineEndsASteadyTrickle) {
    LocalHttpServer server;
    server.Serve("/slow", Make(std::string(200, 'x'), [](Reply& r) { r.dripMs = 20; }));
    const auto transport = MakeSystemTransport(TransportTimeouts{2000, 400});
    transport->SetDeadline(TransportClock::now() + std::chrono::milliseconds(600));
    std::string url = server.Url() + "slow";
    const auto stream = transport->OpenUrl(url);
    ASSERT_NE(stream, nullptr);
    char buffer[300];
    const auto start = TransportClock::now();
    long n = 0;
    while ((n = stream->Read(buffer, sizeof buffer)) > 0) {
    }
    EXPECT_EQ(n, -1);
    EXPECT_EQ(stream->error(), transport_error::kTimedOut);
    EXPECT_LT(TransportClock::now() - start, std::chrono::seconds(3));
}

}  // namespace
}  // namespace belvaron
