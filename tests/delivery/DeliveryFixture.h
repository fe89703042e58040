// The two schedulers of the delivery tests: a client whose queues run the
// product's backend as `cmake --install` lays it out, and a second scheduler
// standing in for the print server, whose raw queue's device records what
// its backend was handed. Helpers read what arrived.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "../support/CupsTestDaemon.h"
#include "../support/ToolRun.h"

namespace fs = std::filesystem;

namespace delivery {


struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

inline std::string text(ipp_t* ipp, const std::string& name) {
    ipp_attribute_t* a = ipp ? ippFindAttribute(ipp, name.c_str(), IPP_TAG_ZERO) : nullptr;
    const char* value = a ? ippGetString(a, 0, nullptr) : nullptr;
    return value ? value : "";
}

inline std::vector<int> integers(ipp_t* ipp, const std::string& name) {
    std::vector<int> out;
    ipp_attribute_t* a = ipp ? ippFindAttribute(ipp, name.c_str(), IPP_TAG_ZERO) : nullptr;
    for (int i = 0; a && i < ippGetCount(a); ++i) out.push_back(ippGetInteger(a, i));
    return out;
}

// The value of the attribute that carries the panel's custom entry KEYWORD.
inline std::string entry(ipp_t* ipp, const std::string& keyword) {
    const std::string suffix = ".print.PrintSettingsTicket." + keyword;
    for (ipp_attribute_t* a = ipp ? ippFirstAttribute(ipp) : nullptr; a; a = ippNextAttribute(ipp)) {
        const std::string name = ippGetName(a) ? ippGetName(a) : "";
        if (name.rfind("kz-", 0) == 0 && name.ends_with(suffix)) return ippGetString(a, 0, nullptr);
    }
    return "";
}

// Every value of every attribute as text, to look for what must not be there.
inline std::string everything(ipp_t* ipp) {
    std::string out;
    for (ipp_attribute_t* a = ipp ? ippFirstAttribute(ipp) : nullptr; a; a = ippNextAttribute(ipp)) {
        char value[8192];
        ippAttributeString(a, value, sizeof value);
        out += std::string(ippGetName(a) ? ippGetName(a) : "") + "=" + value + "\n";
    }
    return out;
}

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Polls until DONE holds, at most LIMIT; the bound only ends a hung test.
inline bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

inline int jobState(const CupsTestDaemon& cups, int id) {
    Ipp job(cups.jobAttributes(id));
    auto state = integers(job.get(), "job-state");
    return state.empty() ? 0 : state[0];
}

class Delivery : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string base = (fs::temp_directory_path() / "kz-delivery-XXXXXX").string();
        if (!::mkdtemp(base.data())) return;
        _folder = base;
        fs::permissions(_folder, fs::perms(0755));
        // The backend and PPD as a package installs them.
        const std::string prefix = _folder + "/prefix";
        const std::string install = std::string(KZ_CMAKE) + " --install " + KZ_BINARY_DIR +
                                    " --component kzps --prefix " + prefix + " >" + _folder + "/install.log 2>&1";
        if (std::system(install.c_str()) != 0) {
            _why = "cmake --install failed: " + readFile(_folder + "/install.log");
            return;
        }
        _ppd = prefix + "/share/ppd/kzpde/KZPrintServer.ppd";
        CupsTestDaemon::writeRecordingBackend(_folder + "/kzrecord");

        _standIn = startStandIn(CupsTestDaemon::freePort());
        if (!_standIn) return;
        CupsTestDaemon::Setup client;
        client.backends = {{"kzps", prefix + "/lib/cups/backend/kzps"}};
        client.systemFilters = true;
        client.jobRetryInterval = 1;
        client.defaultPrivacy = true;
        _client = std::make_unique<CupsTestDaemon>(client);
        if (!_client->start()) {
            _why = _client->error();
            _client.reset();
            return;
        }
        if (!_client->addPrinter("KZQueue", deviceUri(_standInPort), _ppd)) _why = _client->error();
        _document = _folder + "/doc.ps";
        std::ofstream(_document) << "%!PS\n/Helvetica findfont 12 scalefont setfont 72 720 moveto (a page) show showpage\n";
    }

    static void TearDownTestSuite() {
        _client.reset();
        _standIn.reset();
        std::error_code ignored;
        if (!_folder.empty()) fs::remove_all(_folder, ignored);
    }

    static std::unique_ptr<CupsTestDaemon> startStandIn(int port) {
        CupsTestDaemon::Setup setup;
        setup.tcpPort = port;
        setup.backends = {{"kzrecord", _folder + "/kzrecord"}};
        setup.pointProcess = false;
        auto standIn = std::make_unique<CupsTestDaemon>(setup);
        if (!standIn->start() || !standIn->addRawQueue("KZPrintServer", "kzrecord:/keep")) {
            _why = standIn->error();
            return nullptr;
        }
        // Where the recorder writes: its backend folder's ../../record.
        fs::create_directories(standIn->folder() + "/record");
        fs::permissions(standIn->folder() + "/record", fs::perms(0777));
        if (!_standIn) _standInPort = port;
        return standIn;
    }

    static std::string deviceUri(int port, const std::string& queue = "KZPrintServer") {
        return "kzps://127.0.0.1:" + std::to_string(port) + "/printers/" + queue;
    }

    void SetUp() override {
        if (!_client || !_why.empty()) GTEST_SKIP() << "no schedulers: " << _why;
    }

    // `lp` on the client; the job's id there.
    int lp(const std::vector<std::string>& args) {
        std::vector<std::string> command = {"lp"};
        command.insert(command.end(), args.begin(), args.end());
        command.push_back(_document);
        std::string out;
        EXPECT_EQ(_client->run(command, &out), 0) << out;
        auto dash = out.find('-', out.find("request id is "));
        return dash == std::string::npos ? 0 : std::atoi(out.c_str() + dash + 1);
    }

    // Waits for client job ID to finish; the stand-in's job it became.
    int arrived(int id, CupsTestDaemon& standIn) {
        EXPECT_TRUE(waitFor([&] { return jobState(*_client, id) >= IPP_JSTATE_CANCELED; })) << _client->errorLog();
        EXPECT_EQ(jobState(*_client, id), IPP_JSTATE_COMPLETED) << _client->errorLog();
        return standIn.lastJobId();
    }

    std::string recorded(CupsTestDaemon& standIn, int id, const char* what) {
        const fs::path path = standIn.folder() + "/record/" + std::to_string(id) + "." + what;
        waitFor([&] { return fs::exists(path) && jobState(standIn, id) >= IPP_JSTATE_CANCELED; });
        return readFile(path);
    }

    static inline std::string _folder, _why, _ppd, _document;
    static inline int _standInPort = 0;
    static inline std::unique_ptr<CupsTestDaemon> _standIn, _client;
};

}  // namespace delivery
