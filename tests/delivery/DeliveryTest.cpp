// Jobs from a client scheduler, through the product's backend as
// `cmake --install` lays it out, to a second scheduler standing in for the
// print server; what arrived is read back with Get-Job-Attributes and from
// what the stand-in's backend was handed.
#include "DeliveryFixture.h"

using namespace delivery;

namespace {

TEST_F(Delivery, APlainLpJobArrivesWithItsTitleSidesFinishingsAndColour) {
    Ipp queue(_client->printerAttributes("KZQueue"));
    EXPECT_EQ(text(queue.get(), "print-color-mode-default"), "color");

    int id = lp({"-d", "KZQueue", "-t", "Quarterly report", "-o", "StapleMode=TopLeftCorner", "-o",
                 "DuplexMode=DuplexNoTumble", "-o", "Fold=Bifold", "-o", "OutputTray=Stackertray2"});
    ASSERT_GT(id, 0);
    int remote = arrived(id, *_standIn);
    ASSERT_GT(remote, 0);
    Ipp job(_standIn->jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "job-name"), "Quarterly report");
    EXPECT_EQ(text(job.get(), "sides"), "two-sided-long-edge");
    EXPECT_EQ(integers(job.get(), "finishings"), (std::vector<int>{20, 93}));  // staple-top-left, fold-half
    EXPECT_EQ(text(job.get(), "print-color-mode"), "color");
    EXPECT_EQ(text(job.get(), "output-bin"), "stacker-2");
    EXPECT_EQ(text(job.get(), "kz-StapleMode"), "TopLeftCorner");
    EXPECT_EQ(text(job.get(), "kz-Fold"), "Bifold");
    EXPECT_NE(recorded(*_standIn, remote, "document").find("%!PS"), std::string::npos);
}

TEST_F(Delivery, ThePanelsJobArrivesWithItsNameSettingsAndAPinNoOneElseReads) {
    const std::string pin = "4711";
    const std::string settings = _folder + "/panel.plist";
    ToolRun r = runKzpde("print " + _document +
                         " --printer KZQueue --set StapleMode=TopLeftCorner --set DuplexMode=DuplexNoTumble"
                         " --set Fold=BifoldInside --job-name 'Weekly figures, final' --set MailNotifyJobEnd=True"
                         " --set MailAddress=someone@example.com --set SecurityPrint=True --set SecurityPrintPassword=" +
                             pin + " --write-settings " + settings + " --json",
                         true);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.find(pin), std::string::npos) << r.out;
    const int id = nlohmann::json::parse(r.out.substr(r.out.find('{')))["jobId"].get<int>();
    const int remote = arrived(id, *_standIn);
    ASSERT_GT(remote, 0);

    Ipp job(_standIn->jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "job-name"), "Weekly figures, final");
    EXPECT_EQ(text(job.get(), "sides"), "two-sided-long-edge");
    EXPECT_EQ(integers(job.get(), "finishings"), (std::vector<int>{20, 93}));
    EXPECT_EQ(text(job.get(), "print-color-mode"), "color");
    EXPECT_EQ(entry(job.get(), "MailAddress"), "someone@example.com");
    EXPECT_EQ(text(job.get(), "kz-MailNotifyJobEnd"), "True");
    EXPECT_EQ(text(job.get(), "kz-SecurityPrint"), "True");

    // The server's backend was handed the password exactly as the panel
    // encoded it for this job; the saved settings hold the same encoding.
    const std::string options = recorded(*_standIn, remote, "options");
    const auto at = options.find("job-password=");
    ASSERT_NE(at, std::string::npos) << options;
    const std::string encoded = options.substr(at + 13, options.find(' ', at) - at - 13);
    EXPECT_FALSE(encoded.empty());
    EXPECT_EQ(encoded.find(pin), std::string::npos);
    EXPECT_NE(readFile(settings).find(encoded), std::string::npos);

    // Nowhere in clear nor encoded: the job on either scheduler, what the
    // tool printed, the client's log, the document.
    Ipp client(_client->jobAttributes(id));
    for (const std::string& place : {everything(job.get()), everything(client.get()), r.out, _client->errorLog(),
                                     recorded(*_standIn, remote, "document")}) {
        EXPECT_EQ(place.find(pin), std::string::npos) << place;
        EXPECT_EQ(place.find(encoded), std::string::npos) << place;
    }

    // Another local user asks the client's scheduler under its default policy.
    if (::getuid() != 0 || ::access("/usr/bin/ipptool", X_OK) != 0) GTEST_SKIP() << "needs root to act as nobody";
    const std::string test = _folder + "/get-job.test";
    std::ofstream(test) << "{\nOPERATION Get-Job-Attributes\nGROUP operation-attributes-tag\n"
                           "ATTR charset attributes-charset utf-8\nATTR naturalLanguage attributes-natural-language en\n"
                           "ATTR uri printer-uri $uri\nATTR integer job-id "
                        << id << "\nATTR name requesting-user-name nobody\nATTR keyword requested-attributes all\n}\n";
    std::string socket;
    for (char c : _client->socketPath()) socket += c == '/' ? std::string("%2F") : std::string(1, c);
    std::string seen;
    _client->run({"su", "nobody", "-s", "/bin/sh", "-c", "ipptool -V 2.0 -tv ipp://" + socket + "/printers/KZQueue " + test},
                 &seen);
    ASSERT_NE(seen.find("job-state"), std::string::npos) << seen;  // it did read the job
    EXPECT_EQ(seen.find(encoded), std::string::npos) << seen;
    EXPECT_EQ(seen.find(pin), std::string::npos) << seen;
    EXPECT_EQ(seen.find("job-password"), std::string::npos) << seen;
}

TEST_F(Delivery, ThePaperPagesAndOrientationOfTheDialogArrive) {
    ToolRun r = runKzpde("print " + _document + " --printer KZQueue --paper A3 --pages 1 --orientation landscape --json",
                         true);
    ASSERT_EQ(r.status, 0) << r.out;
    const int id = nlohmann::json::parse(r.out.substr(r.out.find('{')))["jobId"].get<int>();
    Ipp client(_client->jobAttributes(id));
    EXPECT_EQ(text(client.get(), "PageSize"), "A3");
    EXPECT_EQ(integers(client.get(), "orientation-requested"), (std::vector<int>{4}));
    ipp_attribute_t* ranges = ippFindAttribute(client.get(), "page-ranges", IPP_TAG_RANGE);
    ASSERT_NE(ranges, nullptr) << everything(client.get());
    int upper = 0;
    EXPECT_EQ(ippGetRange(ranges, 0, &upper), 1);
    EXPECT_EQ(upper, 1);

    const int remote = arrived(id, *_standIn);
    ASSERT_GT(remote, 0);
    Ipp job(_standIn->jobAttributes(remote));
    ipp_attribute_t* media = ippFindAttribute(job.get(), "media-col", IPP_TAG_BEGIN_COLLECTION);
    ASSERT_NE(media, nullptr) << everything(job.get());
    ipp_t* size = ippGetCollection(ippFindAttribute(ippGetCollection(media, 0), "media-size", IPP_TAG_BEGIN_COLLECTION), 0);
    ASSERT_NE(size, nullptr) << everything(job.get());
    EXPECT_EQ(integers(size, "x-dimension"), (std::vector<int>{29700}));  // A3 in hundredths of a millimetre
    EXPECT_EQ(integers(size, "y-dimension"), (std::vector<int>{42000}));
}

TEST_F(Delivery, AServerThatRefusesStopsTheQueueWithItsReasonAndKeepsTheJob) {
    ASSERT_TRUE(_client->addPrinter("KZRefused", deviceUri(_standInPort, "NoSuchQueue"), _ppd)) << _client->error();
    const int id = lp({"-d", "KZRefused", "-t", "refused"});
    ASSERT_GT(id, 0);
    std::string message;
    EXPECT_TRUE(waitFor([&] {
        Ipp queue(_client->printerAttributes("KZRefused"));
        message = text(queue.get(), "printer-state-message");
        return integers(queue.get(), "printer-state") == std::vector<int>{IPP_PSTATE_STOPPED};
    })) << _client->errorLog();
    EXPECT_NE(message.find("refused the job"), std::string::npos) << message;
    EXPECT_NE(message.find("does not exist"), std::string::npos) << message;  // the print server's own words
    EXPECT_EQ(jobState(*_client, id), IPP_JSTATE_PENDING);
}

TEST_F(Delivery, AJobForAServerThatIsDownWaitsAndArrivesWhenItComesUp) {
    const int port = CupsTestDaemon::freePort();
    ASSERT_TRUE(_client->addPrinter("KZLater", deviceUri(port), _ppd)) << _client->error();
    const int id = lp({"-d", "KZLater", "-t", "later"});
    ASSERT_GT(id, 0);
    EXPECT_TRUE(waitFor([&] {
        Ipp job(_client->jobAttributes(id));
        return text(job.get(), "job-printer-state-message").find("cannot be reached") != std::string::npos;
    })) << _client->errorLog();
    EXPECT_LT(jobState(*_client, id), IPP_JSTATE_STOPPED);  // waiting, not given up

    auto late = startStandIn(port);
    ASSERT_TRUE(late) << _why;
    const int remote = arrived(id, *late);
    ASSERT_EQ(remote, 1);
    Ipp job(late->jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "job-name"), "later");
}

TEST_F(Delivery, TheInstalledPpdIsADriverLpadminFinds) {
    // The scheduler's driver list reads its data folder's model/ as it reads
    // /usr/share/ppd, where the package puts share/ppd/kzpde.
    std::error_code ec;
    fs::create_directory_symlink(fs::path(_ppd).parent_path(), _client->folder() + "/share/model/kzpde", ec);
    ASSERT_FALSE(ec) << ec.message();
    std::string out;
    ASSERT_EQ(_client->run({"lpinfo", "-m"}, &out), 0) << out;
    EXPECT_NE(out.find("kzpde/KZPrintServer.ppd KZ Print Server"), std::string::npos) << out;
    ASSERT_EQ(_client->run({"lpadmin", "-p", "KZFromModel", "-E", "-v", deviceUri(_standInPort), "-m",
                            "kzpde/KZPrintServer.ppd"},
                           &out),
              0)
        << out;
    Ipp queue(_client->printerAttributes("KZFromModel"));
    EXPECT_EQ(text(queue.get(), "printer-make-and-model"), "KZ Print Server");
    EXPECT_EQ(text(queue.get(), "print-color-mode-default"), "color");
}

}  // namespace
