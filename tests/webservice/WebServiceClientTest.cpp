#include "Common/WebService/WebServiceClient.h"

#include <gtest/gtest.h>

#include "PrintServiceSimulator.h"
#include "SamplePrinter.h"
#include "platform/foundation/Log.h"

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
    EXPECT_EQ(client.getStackerInfoList(host), (Rows{{"A", "Type"}, {"Finisher", "Type"}}));
    EXPECT_EQ(client.getFeederInfoList(host), (Rows{{"1", "Number"}, {"2", "Number"}}));
    EXPECT_EQ(client.getDeviceList(host), (Rows{{"Installed", "Stapler"}, {"2/4", "Puncher"}}));
    EXPECT_EQ(client.getJobFolderList(host), (Rows{{"Common", ""}, {"X", "X"}, {"Y", "Y"}}));
    // The index is remembered into the next entry.
    EXPECT_EQ(client.getPrePostDeviceList(host), (Rows{{"3-Heavy", "CustomPaper3"}, {"3-Light", "CustomPaper3"}}));
    EXPECT_EQ(client.GetJobResourceList(host, static_cast<int>(kzp::JobResourceType::Form)),
              (Rows{{"Form A", "first", "2026-01-02T03:04:05"}}));
    EXPECT_EQ(client.listNamed("JobResource-NOTE", host), Rows{});
    EXPECT_EQ(client.getFontList(host), (Rows{{"Serif", "KZSerif"}, {"F"}}));
    EXPECT_EQ(client.getCalibFileList(host), (Rows{{"cal1", "c", "t"}}));
    EXPECT_EQ(client.getDensityAdjustProfileList(host), (Rows{{"dens", ""}}));
    EXPECT_EQ(client.getUserTrcProfileList(host), (Rows{{"trc"}}));
    EXPECT_EQ(client.getDeviceLinkFileList(host), (Rows{{"link", "lc", "m"}}));
    EXPECT_EQ(server.requests().size(), 12u);
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
    server.fault = true;
    EXPECT_EQ(client.getFontList(host), Rows{});
    server.fault = false;
    server.brokenXml = true;
    EXPECT_EQ(client.getFontList(host), Rows{});
    server.brokenXml = false;
    WebServiceClient unreachable(1);  // nothing listens on port 1
    EXPECT_EQ(unreachable.getFontList(host), Rows{});

    EXPECT_EQ(client.getFontList(std::nullopt), std::nullopt);
    const auto before = server.requests().size();
    WebServiceClient::setHostApplicationName("Adobe Acrobat Reader DC");
    EXPECT_FALSE(client.isCommunicationPossible());
    EXPECT_EQ(client.getFontList(host), std::nullopt);
    EXPECT_EQ(server.requests().size(), before);
    WebServiceClient::setHostApplicationName("kzpde");
    EXPECT_TRUE(client.isCommunicationPossible());
}

TEST(WebServiceClientAddress, Ipv6LiteralsAreBracketedWithEscapedZones) {
    EXPECT_EQ(WebServiceClient::convertUrlAddress("printer.local"), "printer.local");
    EXPECT_EQ(WebServiceClient::convertUrlAddress("fe80::1%en0"), "[fe80::1%25en0]");
    EXPECT_EQ(WebServiceClient::convertUrlAddress("[::1]"), "[::1]");
    EXPECT_EQ(WebServiceClient::jobResourceType("JobResource-IMPOSITION"), kzp::JobResourceType::Imposition);
    EXPECT_EQ(WebServiceClient::jobResourceType("Font"), std::nullopt);
}
