// What a scheduler's answer about jobs becomes: the jobs of a Get-Jobs
// answer, what each carries, and answers that are no job to act on.
#include <gtest/gtest.h>

#include <cups/ipp.h>
#include <fcntl.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/printing/JobRecord.h"

namespace {

ipp_t* readMessage(const std::string& file) {
    const std::string path = std::string(KZ_TEST_DATA) + "/job_record/" + file;
    ipp_t* message = ippNew();
    const int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_GE(fd, 0) << path;
    EXPECT_EQ(ippReadFile(fd, message), IPP_STATE_DATA) << path;
    ::close(fd);
    return message;
}

// A job group with the attributes every record needs and ATTRS.
ipp_t* answerWith(const std::function<void(ipp_t*)>& attrs) {
    ipp_t* answer = ippNew();
    ippAddInteger(answer, IPP_TAG_JOB, IPP_TAG_INTEGER, "job-id", 5);
    ippAddString(answer, IPP_TAG_JOB, IPP_TAG_URI, "job-printer-uri", nullptr, "ipp://localhost/printers/Q");
    attrs(answer);
    return answer;
}

TEST(JobRecord, AGetJobsAnswerGivesEachJobWithWhatItCarries) {
    ipp_t* answer = readMessage("two-held-jobs.ipp");
    std::size_t skipped = 9;
    const std::vector<kz::JobRecord> jobs = kz::JobRecord::readAll(answer, &skipped);
    ippDelete(answer);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(skipped, 0u);
    const kz::JobRecord& first = jobs[0];
    EXPECT_EQ(first.id, 1);
    EXPECT_EQ(first.queue, "KZHold");
    EXPECT_EQ(first.title, "Budget 2027");
    EXPECT_EQ(first.user, "root");
    EXPECT_TRUE(first.heldIndefinitely());
    EXPECT_EQ(first.reasons, (std::vector<std::string>{"job-hold-until-specified", "job-printing"}));
    EXPECT_EQ(first.createdText(), "2026-12-10T16:12:13Z");
    // Options only: nothing the scheduler keeps about the job.
    EXPECT_EQ(first.options, (std::vector<kz::JobRecord::Option>{{"Fold", "Bifold"}, {"number-up", "2"}}));
    EXPECT_FALSE(first.throughPanel());
    EXPECT_TRUE(jobs[1].throughPanel());
    EXPECT_EQ(jobs[1].option("com.example.print.PrintSettingsTicket.JobName")->value, "Q3 %x2C final");
}

TEST(JobRecord, AnAnswerThatIsNoJobToActOnIsRefusedWithItsReason) {
    std::string why;
    ipp_t* noQueue = readMessage("no-queue.ipp");
    EXPECT_FALSE(kz::JobRecord::read(noQueue, &why));
    EXPECT_FALSE(why.empty());
    ippDelete(noQueue);

    ipp_t* empty = ippNew();
    EXPECT_FALSE(kz::JobRecord::read(empty, &why));
    EXPECT_EQ(why, "the answer holds no job");
    ippDelete(empty);

    // A value beyond the bound, a control character in a value, a state
    // that is none: refused, never cut or passed on.
    const std::string huge(kz::JobRecord::kMaxValueBytes + 1, 'x');
    for (const auto& add : std::vector<std::function<void(ipp_t*)>>{
             [&](ipp_t* a) { ippAddString(a, IPP_TAG_JOB, IPP_TAG_TEXT, "Note", nullptr, huge.c_str()); },
             [](ipp_t* a) { ippAddString(a, IPP_TAG_JOB, IPP_TAG_NAME, "Fold", nullptr, "Bi\nfold"); },
             [](ipp_t* a) { ippAddInteger(a, IPP_TAG_JOB, IPP_TAG_ENUM, "job-state", 42); }}) {
        ipp_t* answer = answerWith(add);
        EXPECT_FALSE(kz::JobRecord::read(answer, &why));
        ippDelete(answer);
    }
    ipp_t* many = answerWith([](ipp_t* a) {
        for (std::size_t i = 0; i <= kz::JobRecord::kMaxOptions; ++i)
            ippAddString(a, IPP_TAG_JOB, IPP_TAG_NAME, ("O" + std::to_string(i)).c_str(), nullptr, "v");
    });
    EXPECT_FALSE(kz::JobRecord::read(many, &why));
    ippDelete(many);

    // Within the bounds it reads, several values as `lp -o` writes them.
    ipp_t* fine = answerWith([](ipp_t* a) {
        const char* ranges[] = {"a", "b"};
        ippAddStrings(a, IPP_TAG_JOB, IPP_TAG_KEYWORD, "output-bin", 2, nullptr, ranges);
    });
    const auto job = kz::JobRecord::read(fine, &why);
    ippDelete(fine);
    ASSERT_TRUE(job) << why;
    EXPECT_EQ(job->option("output-bin")->value, "a,b");
}

}  // namespace
