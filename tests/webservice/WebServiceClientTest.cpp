#include "Common/WebService/WebServiceClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include "PrintServiceSimulator.h"
#include "SamplePrinter.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Application.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using kzp::WebServiceClient;
using Rows = WebServiceClient::Rows;

namespace {

std::string reply(const std::string& element, const std::string& fields) {
    return "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:q=\"corvenix:quill\"><soap:Body><" +
           element + " xmlns=\"corvenix:quill\">" + fields + "</" + element + "></soap:Body></soap:Envelope>";
}

struct ClientTest : testing::Test {
    kztest::PrintServiceSimulator server{kztest::samplePrinter()};
    WebServiceClient client{server.port()};
    std::optional<std::string> host = std::string("127.0.0.1");
    void TearDown() override {
        WebServiceClient::setHostApplicationName("");
        WebServiceClient::setLocalizer(nullptr);
    }
};

}  // namespace

TEST_F(ClientTest, EveryListComesBackAsRows) {
    WebServiceClient::setLocalizer([](const std::string& key) { return key == "#共通" ? "Common" : key; });
    EXPECT_EQ(client.getStackerInfoList(host), (Rows{{"FaceDownTray", "Type"}, {"Finisher", "Type"}}));
    EXPECT_EQ(client.getFeederInfoList(host), (Rows{{"1", "Number"}, {"2", "Number"}, {"5", "Number"}}));
    EXPECT_EQ(client.getDeviceList(host),
              (Rows{{"Installed", "Stapler"}, {"2/4", "Puncher"}, {"NotInstalled", "Folder"}}));
    EXPECT_EQ(client.getJobFolderList(host), (Rows{{"Common", ""}, {"Proofs", "Proofs"}, {"Invoices", "Invoices"}}));
    // The index is remembered into the next entry.
    EXPECT_EQ(client.getPrePostDeviceList(host),
              (Rows{{"3-Heavy 220gsm", "CustomPaper3"}, {"3-Light 64gsm", "CustomPaper3"}}));
    EXPECT_EQ(client.GetJobResourceList(host, static_cast<int>(kzp::JobResourceType::Form)),
              (Rows{{"Letterhead", "company form", "2026-01-02T03:04:05"}}));
    EXPECT_EQ(client.listNamed("JobResource-WATERMARK", host),
              (Rows{{"Draft", "", "2025-12-24T17:30:00"}, {"Copy"}}));
    EXPECT_EQ(client.listNamed("JobResource-IMPOSITION", host), Rows{});
    EXPECT_EQ(client.getFontList(host), (Rows{{"KZ Serif", "KZSerif"}, {"KZ Sans", "KZSans"}, {"KZMincho"}}));
    EXPECT_EQ(client.getCalibFileList(host), (Rows{{"cal-2026-01", "monthly", "2026-01-31T12:00:00"}}));
    EXPECT_EQ(client.getDensityAdjustProfileList(host), (Rows{{"Standard", ""}}));
    EXPECT_EQ(client.getUserTrcProfileList(host), (Rows{{"Soft"}}));
    EXPECT_EQ(client.getDeviceLinkFileList(host), (Rows{{"Coated-to-press", "proof", "2026-02-01T09:30:00"}}));
    EXPECT_EQ(server.requests().size(), 13u);
}

TEST_F(ClientTest, KeyValueListsTakeOnlyTheirKeyAndStopAtAnErrorStatus) {
    server.rawReply = reply("getStackerInfoListResponse",
                            "<ary d=\"0\"><item xsi:type=\"q:PropDict\" d=\"0\"><item key=\"Type\"><val>A</val></item>"
                            "<item key=\"Size\"><val>B</val></item><item key=\"Type\"><val>C</val></item></item>"
                            "<item>plain</item></ary><status>OK</status>");
    EXPECT_EQ(client.getStackerInfoList(host), (Rows{{"A", "Type"}, {"C", "Type"}}));

    kz::LogCapture log;
    server.rawReply = reply("getStackerInfoListResponse", "<status>ok</status>");  // case matters: no value
    EXPECT_EQ(client.getStackerInfoList(host), Rows{});
    EXPECT_TRUE(log.contains("### PrintService error: 0"));
    log.clear();
    server.rawReply = reply("getFeederInfoListResponse", "<status>Error</status>");
    EXPECT_EQ(client.getFeederInfoList(host), Rows{});
    EXPECT_TRUE(log.lines().empty());
    // Unlogged or not, an error status is a list that did not come whole.
    ASSERT_TRUE(client.lastFailure());
    EXPECT_NE(client.lastFailure()->find("getFeederInfoList: the server answered with an error status"),
              std::string::npos);
}

TEST_F(ClientTest, TheLastFailureTellsAnEmptyListFromOneThatDidNotCome) {
    server.rawReply = reply("getFeederInfoListResponse", "<ary d=\"0\"></ary><status>OK</status>");
    EXPECT_EQ(client.getFeederInfoList(host), Rows{});
    EXPECT_EQ(client.lastFailure(), std::nullopt);
    // A reply that answers another call.
    server.rawReply = reply("getStackerInfoListResponse", "<status>OK</status>");
    EXPECT_EQ(client.getFeederInfoList(host), Rows{});
    ASSERT_TRUE(client.lastFailure());
    EXPECT_NE(client.lastFailure()->find("no answer in the reply"), std::string::npos);
    server.rawReply.clear();
    server.fault = true;
    EXPECT_EQ(client.getFontList(host), Rows{});
    ASSERT_TRUE(client.lastFailure());
    EXPECT_NE(client.lastFailure()->find("getFontList: fault"), std::string::npos);
    server.fault = false;
    EXPECT_FALSE(client.getFontList(host)->empty());
    EXPECT_EQ(client.lastFailure(), std::nullopt) << "each call starts afresh";
}

TEST_F(ClientTest, JobFolderWithoutValueGivesOnlyTheCommonRow) {
    server.rawReply = reply("GetJobFolderListResponse",
                            "<dict d=\"0\"><item key=\"FolderArray\"/></dict><status>OK</status>");
    EXPECT_EQ(client.getJobFolderList(host), (Rows{{"#共通", ""}}));
}

TEST_F(ClientTest, JobResourceRepliesNeedAnOkStatusOrAZeroDetail) {
    const std::string list =
        "<resInfo d=\"0\"><item xsi:type=\"q:PropDict\"><item key=\"JobRecListName\"><val>R</val></item></item>"
        "</resInfo>";
    auto rows = [&](const std::string& extra) {
        server.rawReply = reply("GetJobResourceListResponse", list + extra);
        return client.GetJobResourceList(host, 1).value();
    };
    EXPECT_EQ(rows("<status>OK</status>"), Rows{{"R"}});
    EXPECT_EQ(rows("<status>OK</status><nDetail>0</nDetail>"), Rows{{"R"}});
    EXPECT_EQ(rows("<nDetail>0</nDetail>"), Rows{{"R"}});
    EXPECT_EQ(rows("<status>OK</status><nDetail>3</nDetail>"), Rows{});
    EXPECT_EQ(rows("<status>Error</status>"), Rows{});
    EXPECT_EQ(rows(""), Rows{});
}

TEST_F(ClientTest, FailuresGiveEmptyListsAndRefusalsGiveNothing) {
    kz::LogCapture log;
    server.fault = true;
    EXPECT_EQ(client.getFontList(host), Rows{});
    EXPECT_TRUE(log.contains("### PrintService getFontList: fault soap:Server: Server was unable to process request."));
    server.fault = false;
    server.brokenXml = true;
    EXPECT_EQ(client.getFontList(host), Rows{});
    EXPECT_TRUE(log.contains("### PrintService getFontList: the reply is not XML"));
    server.brokenXml = false;
    WebServiceClient unreachable(1);  // nothing listens on port 1
    EXPECT_EQ(unreachable.getFontList(host), Rows{});
    EXPECT_TRUE(log.contains("### PrintService getFontList: connection refused ("));

    server.delaySeconds = 1;
    WebServiceClient impatient(server.port());
    impatient.setTimeout(0.1);
    EXPECT_EQ(impatient.getStackerInfoList(host), Rows{});
    EXPECT_TRUE(log.contains("### PrintService getStackerInfoList: timed out ("));
    server.delaySeconds = 0;

    // Credentials no earlier test can have left remembered for this host.
    server.authUser = "client-test";
    server.authPassword = "never-given";
    EXPECT_EQ(client.getDeviceLinkFileList(host), Rows{});
    EXPECT_TRUE(log.contains("### PrintService getDeviceLinkFileList: authentication failed"));
    server.authUser.clear();
    // Each failure was told apart: none of them passes for another.
    std::size_t failures = 0;
    for (const auto& line : log.lines()) failures += line.rfind("### PrintService ", 0) == 0;
    EXPECT_EQ(failures, 5u) << testing::PrintToString(log.lines());

    EXPECT_EQ(client.getFontList(std::nullopt), std::nullopt);
    const auto before = server.requests().size();
    WebServiceClient::setHostApplicationName("Adobe Acrobat Reader DC");
    EXPECT_FALSE(client.isCommunicationPossible());
    EXPECT_EQ(client.getFontList(host), std::nullopt);
    EXPECT_EQ(server.requests().size(), before);
    WebServiceClient::setHostApplicationName("kzpde");
    EXPECT_TRUE(client.isCommunicationPossible());
}

TEST_F(ClientTest, TheHostApplicationsBundleNamesItAndTranslatesTheCommonFolder) {
    kz::Application::shared().setMainBundle(kz::Bundle::open(KZ_TEST_DATA "/webservice/Reader.app"));
    WebServiceClient::setHostApplicationName("");
    EXPECT_EQ(WebServiceClient::hostApplicationName(), "Adobe Acrobat Reader DC");
    EXPECT_EQ(client.getJobFolderList(host), std::nullopt);
    EXPECT_TRUE(server.requests().empty());

    WebServiceClient::setHostApplicationName("kzpde");  // a host that names itself wins
    const auto rows = client.getJobFolderList(host);
    ASSERT_TRUE(rows && !rows->empty());
    EXPECT_EQ(rows->front(), (kzp::WebServiceClient::Row{"Shared", ""}));
    kz::Application::shared().setMainBundle(nullptr);
}

TEST(WebServiceClientAddress, Ipv6LiteralsAreBracketedWithEscapedZones) {
    EXPECT_EQ(WebServiceClient::convertUrlAddress("printer.local"), "printer.local");
    EXPECT_EQ(WebServiceClient::convertUrlAddress("fe80::1%en0"), "[fe80::1%25en0]");
    EXPECT_EQ(WebServiceClient::convertUrlAddress("[::1]"), "[::1]");
    EXPECT_EQ(WebServiceClient::jobResourceType("JobResource-IMPOSITION"), kzp::JobResourceType::Imposition);
    EXPECT_EQ(WebServiceClient::jobResourceType("Font"), std::nullopt);
}

namespace {

// A link-local IPv6 address of this machine with its zone ("fe80::...%eth0"),
// or nothing.
std::optional<std::string> linkLocalAddress() {
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0) return std::nullopt;
    std::optional<std::string> found;
    for (ifaddrs* a = all; a && !found; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET6 || !(a->ifa_flags & IFF_UP)) continue;
        const auto* in6 = reinterpret_cast<const sockaddr_in6*>(a->ifa_addr);
        if (!IN6_IS_ADDR_LINKLOCAL(&in6->sin6_addr)) continue;
        char text[INET6_ADDRSTRLEN];
        if (inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text)) found = std::string(text) + "%" + a->ifa_name;
    }
    freeifaddrs(all);
    return found;
}

}  // namespace

TEST(WebServiceClientIpv6, ReachesAServerThroughABracketedLiteral) {
    kztest::PrintServiceSimulator server(kztest::samplePrinter(), "::1");
    if (server.port() <= 0) GTEST_SKIP() << "no IPv6 loopback here";
    WebServiceClient client(server.port());
    EXPECT_EQ(client.getUserTrcProfileList(std::string("::1")), (Rows{{"Soft"}}));
    EXPECT_EQ(client.getUserTrcProfileList(std::string("[::1]")), (Rows{{"Soft"}}));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    // A bare IPv6 host would not be a valid Host field.
    EXPECT_EQ(requests[0].header("Host"), "[::1]");
}

TEST(WebServiceClientIpv6, ReachesALinkLocalServerThroughItsZoneIndex) {
    const auto address = linkLocalAddress();
    if (!address) GTEST_SKIP() << "no link-local IPv6 address here";
    kztest::PrintServiceSimulator server(kztest::samplePrinter(), *address);
    if (server.port() <= 0) GTEST_SKIP() << "cannot listen on " << *address;
    WebServiceClient client(server.port());
    EXPECT_EQ(client.getUserTrcProfileList(address), (Rows{{"Soft"}})) << *address;
    ASSERT_EQ(server.requests().size(), 1u);
    // The zone names an interface of this machine; it stays out of the Host field.
    EXPECT_EQ(server.requests()[0].header("Host").find('%'), std::string::npos);
}
