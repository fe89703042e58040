// A document on standard input: told by its first bytes, spooled whole into
// a scratch file within a bound, and `kzpde print -` submitting it to a
// private scheduler under the name the user typed, else "(stdin)".
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "../support/CupsTestDaemon.h"
#include "../support/ToolRun.h"
#include "platform/printing/CupsJob.h"
#include "support/StandardInputDocument.h"

namespace {

namespace fs = std::filesystem;
using Document = kzpde::StandardInputDocument;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Reads BYTES through a pipe, written by another thread as a program would.
struct Piped {
    bool ok = false;
    std::string error;
    std::string spooled;
    const char* format = nullptr;
};
Piped readThroughPipe(const std::string& bytes, std::uint64_t limit = Document::kMaxBytes) {
    // A reader that stops early closes the pipe under the writer.
    ::signal(SIGPIPE, SIG_IGN);
    int fds[2];
    if (::pipe(fds) != 0) return {};
    std::thread writer([&] {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(fds[1], bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;  // the reader stopped: EPIPE
            done += static_cast<std::size_t>(n);
        }
        ::close(fds[1]);
    });
    Document document;
    Piped out;
    out.ok = document.read(fds[0], &out.error, limit);
    ::close(fds[0]);
    writer.join();
    if (out.ok) out.spooled = readFile(document.path());
    out.format = document.format();
    return out;
}

TEST(StandardInput, TheFirstBytesTellPdfAndPostScriptAndNothingElse) {
    EXPECT_STREQ(Document::formatOf("%PDF-1.7\n"), "application/pdf");
    EXPECT_STREQ(Document::formatOf("\r\n\n%PDF-1.4"), "application/pdf");
    EXPECT_STREQ(Document::formatOf("%!PS-Adobe-3.0\n"), "application/postscript");
    EXPECT_STREQ(Document::formatOf("\x04%!PS"), "application/postscript");
    for (const char* other : {"", "hello world\n", "<html>", " %PDF-1.4", "\x1b%-12345X@PJL", "%PD", "PK\x03\x04",
                              "\xef\xbb\xbf%PDF-1.4"})
        EXPECT_EQ(Document::formatOf(other), nullptr) << other;
}

TEST(StandardInput, ADocumentLargerThanOneReadIsSpooledWhole) {
    std::string pdf = "%PDF-1.4\n";
    for (int i = 0; pdf.size() < 300 * 1024; ++i) pdf += "obj " + std::to_string(i) + " stream\n";
    Piped read = readThroughPipe(pdf);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_STREQ(read.format, "application/pdf");
    EXPECT_EQ(read.spooled, pdf);
    // A short PostScript file whose start comes in one piece.
    read = readThroughPipe("%!\n");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.spooled, "%!\n");
}

TEST(StandardInput, OtherInputIsRefusedWithItsReasonAndLargeInputAtTheBound) {
    Piped text = readThroughPipe("Dear colleagues,\n" + std::string(200 * 1024, 'x'));
    EXPECT_FALSE(text.ok);
    EXPECT_NE(text.error.find("neither PDF nor PostScript"), std::string::npos) << text.error;
    Piped empty = readThroughPipe("");
    EXPECT_FALSE(empty.ok);
    EXPECT_NE(empty.error.find("empty"), std::string::npos) << empty.error;
    Piped large = readThroughPipe("%!PS\n" + std::string(100 * 1024, ' '), 64 * 1024);
    EXPECT_FALSE(large.ok);
    EXPECT_NE(large.error.find("larger than 65536 bytes"), std::string::npos) << large.error;
    EXPECT_EQ(large.format, nullptr);
}

class PrintFromStandardInput : public ::testing::Test {
protected:
    void SetUp() override {
        cups = CupsTestDaemon::shared();
        if (!cups->running()) GTEST_SKIP() << "no private cupsd: " << cups->error();
        const std::string ppd = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd";
        ASSERT_TRUE(cups->addQueue("KZStdin", ppd)) << cups->error();
        folder = fs::path(::testing::TempDir()) / ("kz-stdin-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    kz::Dictionary job(int id) {
        std::string error;
        auto attributes = kz::CupsJob::attributes(CUPS_HTTP_DEFAULT, id, &error);
        EXPECT_TRUE(attributes) << error;
        return attributes.value_or(kz::Dictionary{});
    }
    // The document the scheduler keeps for job ID.
    std::string spooled(int id) {
        char name[32];
        std::snprintf(name, sizeof name, "/spool/d%05d-001", id);
        return readFile(cups->folder() + name);
    }

    CupsTestDaemon* cups = nullptr;
    fs::path folder;
};

TEST_F(PrintFromStandardInput, APipedPdfArrivesWholeNamedAsTypedOrAfterStandardInput) {
    std::string pdf = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    pdf += std::string(100 * 1024, 'p') + "\n%%EOF\n";
    const std::string file = write("in.pdf", pdf);

    ToolRun named = runKzpde("print - --printer KZStdin --set StapleMode=TopLeftCorner --job-name 'Quarterly report' "
                             "--json < " + file);
    ASSERT_EQ(named.status, 0) << named.out;
    const int id = nlohmann::json::parse(named.out)["jobId"].get<int>();
    kz::Dictionary attributes = job(id);
    EXPECT_EQ(attributes.get("job-name").stringValue(), "Quarterly report");
    EXPECT_EQ(attributes.get("StapleMode").stringValue(), "TopLeftCorner");
    EXPECT_EQ(spooled(id), pdf);

    ToolRun plain = runKzpde("print - --printer KZStdin < " + file);
    ASSERT_EQ(plain.status, 0) << plain.out;
    const int second = cups->lastJobId();
    EXPECT_EQ(plain.out, "job " + std::to_string(second) + " on KZStdin\n");
    EXPECT_EQ(job(second).get("job-name").stringValue(), "(stdin)");
}

TEST_F(PrintFromStandardInput, NeitherPdfNorPostScriptNorNothingMakesAJob) {
    const int before = cups->lastJobId();
    ToolRun text = runKzpdeErrors("print - --printer KZStdin < " + write("letter.txt", "Dear colleagues,\n"));
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "kzpde print: standard input is neither PDF nor PostScript (it starts with neither "
                        "\"%PDF-\" nor \"%!\")\n");
    ToolRun empty = runKzpdeErrors("print - --printer KZStdin < /dev/null");
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.out.find("standard input is empty"), std::string::npos) << empty.out;
    EXPECT_EQ(cups->lastJobId(), before);
}

}  // namespace
