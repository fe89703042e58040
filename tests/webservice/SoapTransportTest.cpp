#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "Common/WebService/PrintServiceResults.h"
#include "Common/WebService/PrintServiceSoap.h"
#include "Common/WebService/SOAPFault.h"
#include "Common/WebService/SoapXml.h"
#include "PrintServiceSimulator.h"
#include "SamplePrinter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using namespace kzp;

namespace {

const std::string kOpen =
    "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">";
const std::string kClose = "</s:Body></s:Envelope>";

struct TransportTest : testing::Test {
    kztest::PrintServiceSimulator server{kztest::samplePrinter()};
    std::shared_ptr<PrintServiceSoap> binding = PrintService::PrintServiceSoap(server.endpoint());
};

template <class T>
std::vector<const T*> partsOf(const PrintServiceSoapResponse& r) {
    std::vector<const T*> out;
    for (const auto& p : r.bodyParts)
        if (auto* t = dynamic_cast<const T*>(p.get())) out.push_back(t);
    return out;
}

}  // namespace

TEST_F(TransportTest, RequestCarriesTheExactHeadersAndOneLineBody) {
    auto response = binding->getFeederInfoListUsingParameters({});
    ASSERT_FALSE(response.error);
    ASSERT_EQ(server.requests().size(), 1u);
    const auto requests = server.requests();
    const auto& req = requests[0];
    EXPECT_EQ(req.body, kOpen + "<getFeederInfoList xmlns=\"corvenix:quill\"><iotId>1</iotId></getFeederInfoList>" + kClose);
    EXPECT_EQ(req.header("User-Agent"), "wsdl2objc");
    EXPECT_EQ(req.header("SOAPAction"), "");
    EXPECT_EQ(req.header("Content-Type"), "text/xml; charset=utf-8");
    EXPECT_EQ(req.header("Content-Length"), std::to_string(req.body.size()));
    EXPECT_EQ(req.header("Host"), "127.0.0.1");
    EXPECT_EQ(partsOf<PrintService_getFeederInfoListResponse>(response).size(), 1u);
}

TEST(PrintServiceMessages, BodiesAreTheFixedTexts) {
    EXPECT_EQ(PrintService_getJobFolderList{}.envelope(),
              kOpen + "<getJobFolderList xmlns=\"corvenix:quill\"/>" + kClose);
    PrintService_GetJobResourceList jobs;
    jobs.type = 7;
    EXPECT_EQ(jobs.envelope(), kOpen + "<GetJobResourceList xmlns=\"corvenix:quill\"><type>7</type><select>SYSTEM_DEFAULT"
                                       "</select></GetJobResourceList>" + kClose);
    EXPECT_EQ(PrintService_getCmsSpotGetAllListData{}.envelope(),
              kOpen + "<getCmsSpotGetAllListData xmlns=\"corvenix:quill\"><dict d=\"0\">"
                      "<item key=\"Print\"><val xsi:type=\"xsd:string\">1</val></item>"
                      "<item key=\"ColorMode\"><val xsi:type=\"xsd:int\">0</val></item>"
                      "<item key=\"ProfileType\"><val xsi:type=\"xsd:string\"/></item>"
                      "<item key=\"ProfileName\"><val xsi:type=\"xsd:string\"/></item>"
                      "<item key=\"Intent\"><val xsi:type=\"xsd:int\">2</val></item>"
                      "<item key=\"iotId\"><val xsi:type=\"xsd:unsignedInt\">1</val></item>"
                      "<item key=\"IsWithouDelete\"><val xsi:type=\"xsd:boolean\">true</val></item>"
                      "</dict></getCmsSpotGetAllListData>" + kClose);
    EXPECT_NE(PrintService_getDeviceLinkFileList{}.envelope().find(
                  "<initDict d=\"0\"><item key=\"IotId\"><val xsi:type=\"xsd:int\">1</val></item></initDict>"),
              std::string::npos);
    EXPECT_NE(PrintService_getCalibFileList{}.envelope().find("<val xsi:type=\"xsd:unsignedInt\">1</val>"),
              std::string::npos);
    EXPECT_EQ(fontListLanguage("ja-JP"), "ja-HJP");
    EXPECT_EQ(fontListLanguage("en_GB.UTF-8"), "en-US");
}

TEST_F(TransportTest, CookiesOfAReplyReplaceTheBindingsAndTravelWithTheNextCall) {
    binding->addCookie({"old", "1"});
    server.setCookies = {{"session", "abc"}, {"lang", "en"}};
    binding->getStackerInfoListUsingParameters({});
    EXPECT_EQ(server.requests()[0].header("Cookie"), "old=1");
    EXPECT_EQ(binding->cookies, (std::vector<HttpCookie>{{"session", "abc"}, {"lang", "en"}}));
    server.setCookies.clear();
    binding->getStackerInfoListUsingParameters({});
    EXPECT_EQ(server.requests()[1].header("Cookie"), "session=abc; lang=en");
    EXPECT_EQ(binding->cookies, std::vector<HttpCookie>{});
}

TEST_F(TransportTest, ChallengeIsAnsweredOnceThenFails) {
    server.authUser = "admin";
    server.authPassword = "secret";
    auto refused = binding->getFontListUsingParameters({});
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->domain, "Connection Authentication");
    EXPECT_EQ(refused.error->code, 0);
    EXPECT_EQ(refused.error->description, "Authentication Error");
    EXPECT_TRUE(refused.bodyParts.empty());

    binding->authUsername = "admin";
    binding->authPassword = "wrong";
    EXPECT_TRUE(binding->getFontListUsingParameters({}).error);
    binding->authPassword = "secret";
    auto accepted = binding->getFontListUsingParameters({});
    EXPECT_FALSE(accepted.error);
    EXPECT_EQ(partsOf<PrintService_getFontListResponse>(accepted).size(), 1u);
}

TEST_F(TransportTest, TimeOutAndBrokenRepliesCarryErrorsAndNoParts) {
    kz::LogCapture log;
    binding->logXMLInOut = true;
    binding->defaultTimeout = 0.2;
    server.delaySeconds = 1.0;
    auto late = binding->getFontListUsingParameters({});
    ASSERT_TRUE(late.error);
    EXPECT_TRUE(late.bodyParts.empty());
    EXPECT_TRUE(log.contains("### ResponseError:\n"));
    server.delaySeconds = 0;

    server.brokenXml = true;
    auto broken = binding->getFontListUsingParameters({});
    ASSERT_TRUE(broken.error);
    EXPECT_EQ(broken.error->domain, "PrintServiceResponseXML");
    EXPECT_EQ(broken.error->code, 1);
    EXPECT_EQ(broken.error->description, "Errors while parsing returned XML");
    server.brokenXml = false;

    // Entities are neither expanded nor allowed to be declared.
    server.rawReply =
        "<?xml version=\"1.0\"?><!DOCTYPE e [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>&x;</soap:Body>"
        "</soap:Envelope>";
    auto hostile = binding->getFontListUsingParameters({});
    ASSERT_TRUE(hostile.error);
    EXPECT_EQ(hostile.error->domain, "PrintServiceResponseXML");
}

TEST_F(TransportTest, FaultsAreBodyPartsOnlyWithTheSoapPrefix) {
    server.fault = true;
    auto response = binding->getStackerInfoListUsingParameters({});
    auto faults = partsOf<SOAPFault>(response);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0]->faultcode, "soap:Server");
    EXPECT_EQ(faults[0]->simpleFaultString(), "Server was unable to process request.");
    server.faultPrefix = "env";
    EXPECT_TRUE(binding->getStackerInfoListUsingParameters({}).bodyParts.empty());
}

struct Recorder : PrintServiceSoapResponseDelegate {
    std::vector<PrintServiceSoapResponse> got;
    std::vector<std::thread::id> threads;
    void operation(PrintServiceSoapOperation&, const PrintServiceSoapResponse& r) override {
        got.push_back(r);
        threads.push_back(std::this_thread::get_id());
    }
};

// Runs the caller's run loop in the default mode until `count` replies came
// (the bound only keeps a broken build from hanging).
void runUntil(const Recorder& recorder, std::size_t count) {
    auto& loop = kz::RunLoop::current();
    for (int i = 0; i < 200 && recorder.got.size() < count; ++i) {
        loop.waitForWork(5);
        loop.runMode(kz::RunLoop::kDefaultMode);
    }
}

TEST_F(TransportTest, AsynchronousRepliesArriveOnTheCallersRunLoopInTheDefaultMode) {
    Recorder recorder;
    server.setCookies = {{"session", "abc"}};
    binding->getDeviceLinkFileListAsyncUsingParameters({}, &recorder);
    binding->getFontListAsyncUsingParameters({}, &recorder);
    auto& loop = kz::RunLoop::current();
    // Delivery waits for the default mode, however long the replies are there.
    while (server.requests().size() < 2 || loop.pendingCount() < 2) loop.waitForWork(5);
    loop.runMode(kz::RunLoop::kModalPanelMode);
    EXPECT_TRUE(recorder.got.empty());
    EXPECT_FALSE(binding->cookies);

    runUntil(recorder, 2);
    ASSERT_EQ(recorder.got.size(), 2u);
    for (const auto& id : recorder.threads) EXPECT_EQ(id, std::this_thread::get_id());
    std::size_t links = 0, fonts = 0;
    for (const auto& r : recorder.got) {
        EXPECT_FALSE(r.error);
        links += partsOf<PrintService_getDeviceLinkFileListResponse>(r).size();
        fonts += partsOf<PrintService_getFontListResponse>(r).size();
    }
    EXPECT_EQ(links, 1u);
    EXPECT_EQ(fonts, 1u);
    EXPECT_EQ(binding->cookies, (std::vector<HttpCookie>{{"session", "abc"}}));

    // Failures take the same way back.
    server.brokenXml = true;
    binding->getFeederInfoListAsyncUsingParameters({}, &recorder);
    runUntil(recorder, 3);
    ASSERT_EQ(recorder.got.size(), 3u);
    ASSERT_TRUE(recorder.got[2].error);
    EXPECT_EQ(recorder.got[2].error->domain, "PrintServiceResponseXML");
}

TEST_F(TransportTest, ABindingDroppedBeforeItsReplyCancelsAndTellsNoOne) {
    Recorder recorder;
    server.delaySeconds = 0.5;
    binding->getFontListAsyncUsingParameters({}, &recorder);
    while (server.requests().empty()) std::this_thread::yield();
    binding.reset();  // cancels the transfer and waits for its thread
    kz::RunLoop::current().runMode(kz::RunLoop::kDefaultMode);
    EXPECT_TRUE(recorder.got.empty());
}

TEST(SoapReplyReading, ContainersFaultsAndValues) {
    const std::string xml =
        "<r xmlns=\"corvenix:quill\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xmlns:p=\"corvenix:quill\" xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">"
        "<ary d=\"5\"><item>text</item><item xsi:type=\"p:PropDict\" d=\"1\"><item key=\"k\">"
        "<val xsi:type=\"xs:string\">v</val></item><item key=\"n\"><val xsi:type=\"p:PropArray\"><item>a</item>"
        "</val></item></item><item xsi:type=\"p:Unknown\">gone</item><item xsi:type=\"xs:int\">42</item></ary>"
        "<status>IllegalData</status><nDetail>2</nDetail><bResult>yes</bResult></r>";
    xmlDocPtr doc = SoapXml::parse(xml);
    ASSERT_TRUE(doc);
    PrintServiceReply reply;
    reply.read(xmlDocGetRootElement(doc), ResultKind::Resource);
    xmlFreeDoc(doc);
    const auto* items = reply.items("ary");
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    EXPECT_EQ(std::get<std::string>((*items)[0]), "text");
    auto dict = std::get<std::shared_ptr<PrintService_PropDict>>((*items)[1]);
    EXPECT_EQ(dict->d, 1);
    auto kv = std::get<std::shared_ptr<PrintService_PropKeyValue>>(dict->item[0]);
    EXPECT_EQ(kv->key, "k");
    EXPECT_EQ(std::get<std::string>(*kv->val), "v");
    auto nested = std::get<std::shared_ptr<PrintService_PropKeyValue>>(dict->item[1]);
    EXPECT_EQ(std::get<std::shared_ptr<PrintService_PropArray>>(*nested->val)->item.size(), 1u);
    EXPECT_EQ(std::get<double>((*items)[2]), 42.0);
    EXPECT_EQ(reply.status, 11);
    EXPECT_EQ(reply.nDetail, 2.0);
    EXPECT_EQ(reply.bResult, std::nullopt);

    const std::string fault12 =
        "<env:Fault xmlns:env=\"http://www.w3.org/2003/05/soap-envelope\"><env:Code><env:Value>env:Sender"
        "</env:Value></env:Code><env:Reason><env:Text xml:lang=\"en\">bad</env:Text></env:Reason>"
        "<env:Node>n</env:Node><env:Detail>d</env:Detail></env:Fault>";
    doc = SoapXml::parse(fault12);
    auto fault = SOAPFault::deserializeNode(xmlDocGetRootElement(doc));
    xmlFreeDoc(doc);
    EXPECT_EQ(fault->faultcode, "env:Sender");
    EXPECT_EQ(fault->faultstring, "bad");
    EXPECT_EQ(fault->faultactor, "n");
    EXPECT_EQ(fault->detail, "d");

    auto date = SoapXml::parseIsoDate("2001-01-01T01:00:00+01:00");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->secondsSinceReferenceDate, 0.0);
    EXPECT_EQ(SoapXml::isoDate(kz::Date{86400}), "2001-01-02T00:00:00Z");
    EXPECT_FALSE(SoapXml::parseIsoDate("yesterday"));
}

TEST(SoapReplyReading, BadlyEncodedRepliesFailWithoutWritingToStandardError) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(SoapXml::parse("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>www.w3.org</a>"), nullptr);
    EXPECT_EQ(SoapXml::parse("<?xml version=\"1.0\" encoding=\"EUC-JP\"?><a>\xff\xff\xff</a>"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(PrintServiceResults, ExactTextsAndBounds) {
    EXPECT_EQ(PrintService_ServiceResult_enumFromString("OK"), 1);
    EXPECT_EQ(PrintService_ServiceResult_enumFromString("ok"), 0);
    EXPECT_EQ(PrintService_ServiceResult_enumFromString("Error"), 41);
    EXPECT_EQ(PrintService_ServiceResult_stringFromEnum(42), "");
    EXPECT_EQ(PrintService_ServiceResult_stringFromEnum(0), "");
    EXPECT_EQ(PrintService_ResourceResult_stringFromEnum(51), "IccVersionError");
    EXPECT_EQ(PrintService_ResourceResult_enumFromString("Unsupperted"), 16);
    EXPECT_EQ(PrintService_CmsResResult_stringFromEnum(6), "CalibPrtPapsizeTooSmall");
    EXPECT_EQ(PrintService_CmsResResult_enumFromString("RscNotExist"), 0);
}
