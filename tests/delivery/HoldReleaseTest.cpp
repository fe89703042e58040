// Held jobs completed in the panel: a queue that holds every job, a job
// sent with plain `lp`, listed by `kzpde jobs` and let go by `kzpde
// release` to the stand-in print server with the application's options and
// the panel's; and the jobs release leaves alone.
#include "DeliveryFixture.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <thread>

using namespace delivery;

namespace {

// The schedulers of the delivery tests, with a queue that holds every job
// and one that is not the product's.
class HoldRelease : public Delivery {
protected:
    void SetUp() override {
        Delivery::SetUp();
        if (IsSkipped() || _queuesMade) return;
        ASSERT_TRUE(_client->addPrinter("KZHold", deviceUri(_standInPort), _ppd,
                                        {"-o", "job-hold-until-default=indefinite"}))
            << _client->error();
        ASSERT_TRUE(_client->addRawQueue("Office")) << _client->error();
        _queuesMade = true;
    }

    // The job's attributes on the client.
    Ipp job(int id) { return Ipp(_client->jobAttributes(id)); }

    // Waits until job ID is held (the queue's hold, or the backend's).
    bool held(int id) {
        return waitFor([&] { return jobState(*_client, id) == IPP_JSTATE_HELD; }, std::chrono::seconds(30));
    }

    nlohmann::json jobs() {
        ToolRun r = runKzpde("jobs --json");
        EXPECT_EQ(r.status, 0);
        return nlohmann::json::parse(r.out, nullptr, false);
    }

    static const nlohmann::json* listed(const nlohmann::json& jobs, int id) {
        for (const auto& job : jobs)
            if (job.value("id", 0) == id) return &job;
        return nullptr;
    }

    static inline bool _queuesMade = false;
};

TEST_F(HoldRelease, APlainLpJobIsHeldListedAndReleasedWithTheApplicationsOptionsAndThePanels) {
    const int before = _standIn->lastJobId();
    const int id = lp({"-d", "KZHold", "-t", "Budget 2027", "-o", "Fold=Bifold", "-o", "number-up=2"});
    ASSERT_GT(id, 0);
    ASSERT_TRUE(held(id)) << _client->errorLog();
    EXPECT_EQ(_standIn->lastJobId(), before);

    const nlohmann::json list = jobs();
    const nlohmann::json* entry = listed(list, id);
    ASSERT_NE(entry, nullptr) << list.dump();
    EXPECT_EQ((*entry)["queue"], "KZHold");
    EXPECT_EQ((*entry)["title"], "Budget 2027");
    EXPECT_EQ((*entry)["forPanel"], true);
    EXPECT_EQ((*entry)["options"]["Fold"], "Bifold");
    EXPECT_EQ((*entry)["options"]["number-up"], "2");
    EXPECT_FALSE((*entry)["created"].get<std::string>().empty());

    ToolRun r = runKzpde("release " + std::to_string(id) + " --set StapleMode=TopLeftCorner --json", true);
    ASSERT_EQ(r.status, 0) << r.out;
    const int remote = arrived(id, *_standIn);
    ASSERT_GT(remote, before);
    Ipp arrivedJob(_standIn->jobAttributes(remote));
    EXPECT_EQ(text(arrivedJob.get(), "job-name"), "Budget 2027");
    // The panel's staple and the application's fold.
    EXPECT_EQ(integers(arrivedJob.get(), "finishings"), (std::vector<int>{20, 93})) << everything(arrivedJob.get());
    Ipp client = job(id);
    EXPECT_EQ(integers(client.get(), "number-up"), (std::vector<int>{2}));
    EXPECT_EQ(text(client.get(), "StapleMode"), "TopLeftCorner");
    EXPECT_FALSE(text(client.get(), "kzpde-through-panel").empty());
    // The mark stays on the client: the server has no use for it.
    EXPECT_EQ(everything(arrivedJob.get()).find("through-panel"), std::string::npos);
    ASSERT_EQ(listed(jobs(), id), nullptr);
}

TEST_F(HoldRelease, AJobLetGoWithoutThePanelIsHeldByTheBackendAndCanBeCancelled) {
    const int before = _standIn->lastJobId();
    // The application asks to print at once; the queue's hold does not
    // apply, the backend's does.
    const int id = lp({"-d", "KZHold", "-t", "Right now", "-H", "immediate"});
    ASSERT_GT(id, 0);
    // Held after it ran: its filters and the backend had it.
    auto heldAfterRunning = [&] {
        Ipp attributes = job(id);
        const std::vector<int> processed = integers(attributes.get(), "time-at-processing");
        return jobState(*_client, id) == IPP_JSTATE_HELD && !processed.empty() && processed[0] > 0;
    };
    ASSERT_TRUE(waitFor(heldAfterRunning, std::chrono::seconds(30))) << _client->errorLog();
    EXPECT_EQ(_standIn->lastJobId(), before);
    const nlohmann::json list = jobs();
    const nlohmann::json* entry = listed(list, id);
    ASSERT_NE(entry, nullptr) << list.dump();
    EXPECT_EQ((*entry)["forPanel"], true);

    // Released by hand, it runs again and comes back to the hold. The time it
    // last started processing tells the second run from the first (a poll of
    // the state may miss the moment it was not held); that time is in whole
    // seconds, so the release waits for the next one.
    const int firstRun = integers(job(id).get(), "time-at-processing").at(0);
    while (std::time(nullptr) <= firstRun) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::string out;
    ASSERT_EQ(_client->run({"lp", "-i", std::to_string(id), "-H", "resume"}, &out), 0) << out;
    auto heldAfterRunningAgain = [&] {
        Ipp attributes = job(id);
        const std::vector<int> processed = integers(attributes.get(), "time-at-processing");
        return jobState(*_client, id) == IPP_JSTATE_HELD && !processed.empty() && processed[0] > firstRun;
    };
    ASSERT_TRUE(waitFor(heldAfterRunningAgain, std::chrono::seconds(30))) << _client->errorLog();
    ASSERT_TRUE(held(id));
    EXPECT_EQ(_standIn->lastJobId(), before);

    ToolRun r = runKzpde("release " + std::to_string(id) + " --cancel --json", true);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"cancelled\": true"), std::string::npos) << r.out;
    EXPECT_EQ(jobState(*_client, id), IPP_JSTATE_CANCELED);
}

TEST_F(HoldRelease, AJobMadeInThePanelIsNotHeldAgain) {
    ToolRun r = runKzpde("print " + _document + " --printer KZHold --set StapleMode=TopLeftCorner --json", true);
    ASSERT_EQ(r.status, 0) << r.out;
    const int id = nlohmann::json::parse(r.out.substr(r.out.find('{')))["jobId"].get<int>();
    const int remote = arrived(id, *_standIn);
    ASSERT_GT(remote, 0);
    Ipp job(_standIn->jobAttributes(remote));
    EXPECT_EQ(integers(job.get(), "finishings"), (std::vector<int>{20}));
}

TEST_F(HoldRelease, JobsThatAreNotTheUsersHeldProductJobsAreLeftAlone) {
    // No such job; not a job id at all.
    EXPECT_EQ(runKzpde("release 99999 --set StapleMode=TopLeftCorner").status, 2);
    EXPECT_EQ(runKzpde("release KZHold-x").status, 2);

    // Another user's held job.
    if (::getuid() == 0) {
        std::string out;
        ASSERT_EQ(_client->run({"su", "nobody", "-s", "/bin/sh", "-c", "lp -d KZHold -t Theirs " + _document}, &out), 0)
            << out;
        const int theirs = _client->lastJobId();
        ASSERT_TRUE(held(theirs));
        ToolRun r = runKzpde("release " + std::to_string(theirs), true);
        EXPECT_EQ(r.status, 2) << r.out;
        EXPECT_NE(r.out.find("not your job"), std::string::npos) << r.out;
        EXPECT_EQ(jobState(*_client, theirs), IPP_JSTATE_HELD);
        EXPECT_EQ(listed(jobs(), theirs), nullptr);
        EXPECT_EQ(runKzpde("release " + std::to_string(theirs) + " --cancel").status, 2);
        EXPECT_EQ(jobState(*_client, theirs), IPP_JSTATE_HELD);
    }

    // A job that printed is not held.
    const int done = lp({"-d", "KZQueue", "-t", "Printed"});
    arrived(done, *_standIn);
    EXPECT_EQ(runKzpde("release " + std::to_string(done)).status, 2);

    // A held job on a queue that is not the product's.
    const int office = lp({"-d", "Office", "-H", "indefinite"});
    ASSERT_TRUE(held(office));
    ToolRun r = runKzpde("release " + std::to_string(office), true);
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_EQ(jobState(*_client, office), IPP_JSTATE_HELD);
    EXPECT_EQ(listed(jobs(), office), nullptr);

    // Held with `lp -H` on a product queue that does not hold: listed, but
    // not as held for the panel.
    const int byHand = lp({"-d", "KZQueue", "-H", "indefinite"});
    ASSERT_TRUE(held(byHand));
    const nlohmann::json list = jobs();
    const nlohmann::json* entry = listed(list, byHand);
    ASSERT_NE(entry, nullptr) << list.dump();
    EXPECT_EQ((*entry)["forPanel"], false);
    EXPECT_EQ(runKzpde("release " + std::to_string(byHand) + " --cancel").status, 0);
}

TEST_F(HoldRelease, ARefusedChangeLeavesTheJobHeldAsItWas) {
    const int id = lp({"-d", "KZHold", "-t", "Careful", "-o", "Fold=Bifold"});
    ASSERT_TRUE(held(id));
    for (const char* change : {"--set StapleMode=Nowhere", "--set NoSuchOption=1", "--favorite 'No such favorite'"}) {
        ToolRun r = runKzpde("release " + std::to_string(id) + " " + change, true);
        EXPECT_EQ(r.status, 1) << change << ": " << r.out;
        EXPECT_NE(r.out.find("kzpde release:"), std::string::npos) << r.out;
    }
    EXPECT_EQ(jobState(*_client, id), IPP_JSTATE_HELD);
    Ipp held = job(id);
    EXPECT_EQ(text(held.get(), "Fold"), "Bifold");
    EXPECT_EQ(text(held.get(), "kzpde-through-panel"), "");
    EXPECT_EQ(text(held.get(), "StapleMode"), "");
    EXPECT_EQ(runKzpde("release " + std::to_string(id) + " --cancel").status, 0);
}

}  // namespace

namespace {

#ifdef KZ_HAVE_QT
// `kzpde agent --once` under Qt's offscreen platform with a script: the
// first held job printed, the second cancelled, the third left held when
// the script runs out.
TEST_F(HoldRelease, TheAgentShowsEachHeldJobPrintReleasesCancelCancelsAndClosingLeavesItHeld) {
    const std::string folder = _folder + "/agent";
    fs::create_directories(folder + "/shots");
    fs::create_directories(folder + "/runtime");
    std::ofstream(folder + "/script") << "shot first\npress Print\npress Cancel\nshot third\n";
    const int before = _standIn->lastJobId();
    const int printed = lp({"-d", "KZHold", "-t", "From the agent", "-o", "Fold=Bifold"});
    const int cancelled = lp({"-d", "KZHold", "-t", "Not wanted"});
    const int left = lp({"-d", "KZHold", "-t", "Later"});
    for (int id : {printed, cancelled, left}) ASSERT_TRUE(held(id));

    // The tool takes the display and the lock's folder from this process.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_RUNTIME_DIR", (folder + "/runtime").c_str(), 1);
    ToolRun r = runKzpde("agent --once --script " + folder + "/script --screenshot " + folder + "/shots", true);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("job " + std::to_string(printed) + " on KZHold released"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("job " + std::to_string(cancelled) + " on KZHold cancelled"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("job " + std::to_string(left) + " on KZHold left held"), std::string::npos) << r.out;

    const int remote = arrived(printed, *_standIn);
    ASSERT_GT(remote, before);
    Ipp arrivedJob(_standIn->jobAttributes(remote));
    EXPECT_EQ(text(arrivedJob.get(), "job-name"), "From the agent");
    EXPECT_EQ(integers(arrivedJob.get(), "finishings"), (std::vector<int>{93}));
    EXPECT_EQ(jobState(*_client, cancelled), IPP_JSTATE_CANCELED);
    EXPECT_EQ(jobState(*_client, left), IPP_JSTATE_HELD);
    std::vector<std::string> shots;
    for (const auto& file : fs::directory_iterator(folder + "/shots")) shots.push_back(file.path().filename());
    EXPECT_TRUE(std::any_of(shots.begin(), shots.end(), [](const std::string& f) { return f.ends_with("first.png"); }))
        << r.out;
    EXPECT_TRUE(std::any_of(shots.begin(), shots.end(), [](const std::string& f) { return f.ends_with("third.png"); }))
        << r.out;
    EXPECT_EQ(runKzpde("release " + std::to_string(left) + " --cancel").status, 0);
}

#endif  // KZ_HAVE_QT

}  // namespace
