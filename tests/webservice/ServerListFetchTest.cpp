// Fetching a print server's lists under one deadline, against a healthy
// service and against servers that misbehave.
#include <gtest/gtest.h>

#include "Common/WebService/ServerListFetch.h"
#include "HostileServer.h"
#include "PrintServiceSimulator.h"
#include "SamplePrinter.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using kzp::ServerListFetch;
using kztest::HostileServer;

namespace {

std::vector<std::string> reasons(const ServerListFetch::Result& r) {
    std::vector<std::string> out;
    for (const auto& f : r.failures) out.push_back(f.list + ": " + f.reason);
    return out;
}

}  // namespace

TEST(ServerListFetch, AHealthyServerGivesEveryListInTheOrderAsked) {
    kztest::PrintServiceSimulator server(kztest::samplePrinter());
    ServerListFetch fetch("127.0.0.1", server.port());
    const ServerListFetch::Result all = fetch.fetch();
    EXPECT_TRUE(all.complete()) << testing::PrintToString(reasons(all));
    ASSERT_EQ(all.lists.size(), kzp::WebServiceClient::queryNames().size());
    for (std::size_t i = 0; i < all.lists.size(); ++i) EXPECT_EQ(all.lists[i].first, kzp::WebServiceClient::queryNames()[i]);

    const ServerListFetch::Result two = fetch.fetch({"Font", "FeederInfoList"});
    ASSERT_EQ(two.lists.size(), 2u);
    EXPECT_EQ(two.lists[1].second, (kzp::WebServiceClient::Rows{{"1", "Number"}, {"2", "Number"}, {"5", "Number"}}));
}

TEST(ServerListFetch, EachListThatDoesNotComeIsToldWithItsReasonAndTheOthersStillCome) {
    kz::Dictionary printer = kztest::samplePrinter();
    printer.set("status", kz::Dictionary{{"getFeederInfoList", kz::Value("Error")}});
    kztest::PrintServiceSimulator server(printer);
    ServerListFetch fetch("127.0.0.1", server.port());
    const ServerListFetch::Result r = fetch.fetch({"StackerInfoList", "FeederInfoList", "Font", "NoSuchList"});
    EXPECT_EQ(reasons(r), (std::vector<std::string>{"FeederInfoList: error status", "NoSuchList: unknown list"}));
    ASSERT_EQ(r.lists.size(), 2u);
    EXPECT_EQ(r.lists[0].first, "StackerInfoList");
    EXPECT_EQ(r.lists[1].first, "Font");
    EXPECT_EQ(fetch.describe(r.failures[0]), "FeederInfoList from 127.0.0.1:" + std::to_string(server.port()) +
                                                 ": error status");

    server.fault = true;
    const ServerListFetch::Result faulted = fetch.fetch({"Font"});
    EXPECT_EQ(reasons(faulted), std::vector<std::string>{"Font: fault: Server was unable to process request."});
    server.fault = false;
    server.brokenXml = true;
    EXPECT_EQ(reasons(fetch.fetch({"Font"})), std::vector<std::string>{"Font: not SOAP"});
    // XML, but no envelope: a page from something else on that port.
    server.brokenXml = false;
    server.rawReply = "<html><body>It works!</body></html>";
    EXPECT_EQ(reasons(fetch.fetch({"Font"})), std::vector<std::string>{"Font: not SOAP"});
    // Nor is a status other than the service's.
    server.rawReply.clear();
    server.httpStatus = 404;
    EXPECT_EQ(reasons(fetch.fetch({"Font"})), std::vector<std::string>{"Font: not SOAP (HTTP 404)"});
}

TEST(ServerListFetch, ServersThatMisbehaveGiveTheirReasons) {
    struct Case {
        HostileServer::Kind kind;
        const char* reason;
    };
    for (const Case& c : {Case{HostileServer::Kind::Garbage, "not SOAP"}, Case{HostileServer::Kind::Reset, "cut off"},
                          Case{HostileServer::Kind::Endless, "too large"}}) {
        HostileServer server(c.kind);
        ServerListFetch fetch("127.0.0.1", server.port());
        fetch.setDeadline(60);
        EXPECT_EQ(reasons(fetch.fetch({"FeederInfoList"})), std::vector<std::string>{std::string("FeederInfoList: ") + c.reason});
    }
    ServerListFetch nobody("127.0.0.1", HostileServer::closedPort());
    EXPECT_EQ(reasons(nobody.fetch({"Font"})), std::vector<std::string>{"Font: refused"});
}

TEST(ServerListFetch, AServerThatStopsAnsweringCostsTheDeadlineOnceNotOncePerList) {
    for (HostileServer::Kind kind : {HostileServer::Kind::Silent, HostileServer::Kind::Trickle}) {
        HostileServer server(kind);
        ServerListFetch fetch("127.0.0.1", server.port());
        fetch.setDeadline(1);
        const ServerListFetch::Result r = fetch.fetch();
        EXPECT_TRUE(r.lists.empty());
        ASSERT_EQ(r.failures.size(), kzp::WebServiceClient::queryNames().size());
        for (const auto& f : r.failures) EXPECT_EQ(f.reason, "timed out") << f.list;
        // The first list used up the time; the others were never asked.
        EXPECT_EQ(server.connections(), 1);
    }
}

TEST(ServerListFetch, AFaultsTextIsOneShortLine) {
    kztest::PrintServiceSimulator server(kztest::samplePrinter());
    server.rawReply = "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><soap:Fault>"
                      "<faultcode>soap:Server</faultcode><faultstring>line one\nline two\t" +
                      std::string(500, 'x') + "</faultstring></soap:Fault></soap:Body></soap:Envelope>";
    const ServerListFetch::Result r = ServerListFetch("127.0.0.1", server.port()).fetch({"Font"});
    ASSERT_EQ(r.failures.size(), 1u);
    const std::string& reason = r.failures[0].reason;
    EXPECT_TRUE(reason.starts_with("fault: line one line two")) << reason;
    EXPECT_EQ(reason.find_first_of("\n\r\t"), std::string::npos);
    EXPECT_LT(reason.size(), 300u);
}
