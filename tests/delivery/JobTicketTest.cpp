// What the backend makes of a job's options and its queue's PPD, without a
// scheduler: the standard attributes, the panel's own options, the bounds.
#include <gtest/gtest.h>

#include <set>

#include "DeviceAddress.h"
#include "JobTicket.h"
#include "QueueDescription.h"

namespace {

using kzps::DeviceAddress;
using kzps::JobTicket;
using kzps::QueueDescription;

const std::string kProductPPD = KZ_SOURCE_DIR "/resources/bundle/Contents/Resources/KZPrintServer.ppd";
const std::string kEntry = "com.example.print.PrintSettingsTicket.";

const QueueDescription& productQueue() {
    static const QueueDescription queue = [] {
        std::string error;
        auto loaded = QueueDescription::load(kProductPPD, &error);
        EXPECT_TRUE(loaded) << error;
        return loaded.value_or(QueueDescription());
    }();
    return queue;
}

JobTicket ticket(const std::string& options, const QueueDescription& queue = productQueue()) {
    std::string error;
    auto read = JobTicket::read(options, "doc.ps", 1, queue, &error);
    EXPECT_TRUE(read) << error;
    return read.value_or(JobTicket());
}

std::vector<std::string> ownNames(const JobTicket& t) {
    std::vector<std::string> out;
    for (const auto& o : t.ownOptions()) out.push_back(o.name);
    return out;
}

TEST(JobTicket, ThePanelsChoicesBecomeSidesFinishingsAndColour) {
    JobTicket t = ticket("StapleMode=TopLeftCorner Fold=Bifold DuplexMode=DuplexNoTumble ColorModel=Gray "
                         "Punch=Left PunchHoles=Holes2 TrimmerMode=True OutputTray=Stackertray VLInputSlot=Tray2 "
                         "Collate=False PageSize=A3");
    EXPECT_EQ(t.sides(), "two-sided-long-edge");
    // staple-top-left, punch-dual-left, fold-half, trim
    EXPECT_EQ(t.finishings(), (std::vector<int>{20, 74, 93, 11}));
    EXPECT_EQ(t.printColorMode(), "monochrome");
    EXPECT_EQ(t.outputBin(), "stacker-1");
    EXPECT_EQ(t.mediaSource(), "tray-2");
    ASSERT_TRUE(t.mediaSize());
    EXPECT_EQ(t.mediaSize()->width, 29700);
    EXPECT_EQ(t.mediaSize()->length, 42000);
    EXPECT_EQ(t.multipleDocumentHandling(), "separate-documents-uncollated-copies");
    EXPECT_EQ(t.jobName(), "doc.ps");
    EXPECT_FALSE(t.fromPanel());
    EXPECT_EQ(ownNames(t).size(), 11u);
    // The scheduler's "false" goes back to the PPD's choice name.
    EXPECT_EQ(ticket("TrimmerMode=false").ownOptions()[0].value, "False");
    EXPECT_EQ(ticket("Custom=false").ownOptions()[0].value, "false");
}

TEST(JobTicket, ThePanelsChoiceWinsOverWhatTheSchedulerAddsFromDefaults) {
    // The scheduler adds print-color-mode and sides from the queue's
    // defaults; the panel's own options say what the user chose.
    JobTicket t = ticket("print-color-mode=color ColorModel=Gray sides=one-sided DuplexMode=DuplexTumble finishings=3");
    EXPECT_EQ(t.printColorMode(), "monochrome");
    EXPECT_EQ(t.sides(), "two-sided-short-edge");
    EXPECT_EQ(t.finishings(), (std::vector<int>{3}));

    // Without the panel's options the standard ones count, then the PPD's
    // system duplex option; none means none sent.
    EXPECT_EQ(ticket("sides=two-sided-long-edge print-color-mode=monochrome").sides(), "two-sided-long-edge");
    EXPECT_EQ(ticket("Duplex=DuplexTumble").sides(), "two-sided-short-edge");
    EXPECT_EQ(ticket("DuplexMode=SimplexTumble sides=two-sided-long-edge").sides(), "one-sided");
    EXPECT_EQ(ticket("sides=sideways").sides(), "");
    // The panel's control at its default leaves the choice to the rest.
    EXPECT_EQ(ticket("DuplexMode=None Duplex=DuplexNoTumble").sides(), "two-sided-long-edge");
    EXPECT_EQ(ticket("DuplexMode=None").sides(), "one-sided");
    EXPECT_EQ(ticket("ColorModel=CMYK2").printColorMode(), "color");
    // A dialog's finishings join the PPD's and "none" gives way.
    EXPECT_EQ(ticket("finishings=3,4 Fold=Z_TrifoldInside").finishings(), (std::vector<int>{100, 4}));
    EXPECT_EQ(ticket("finishings=x,2,99999").finishings(), (std::vector<int>{}));
}

TEST(JobTicket, EveryFinishingChoiceOfTheProductPpdHasAValue) {
    const QueueDescription& queue = productQueue();
    std::set<std::pair<std::string, std::string>> covered;
    for (const auto& f : queue.finishings()) {
        EXPECT_GE(f.value, 4);
        for (const auto& c : f.choices) covered.insert(c);
    }
    for (const char* staple : {"TopLeftCorner", "Saddle", "RightEdge4", "MixSizeEdge"})
        EXPECT_TRUE(covered.contains({"StapleMode", staple})) << staple;
    for (const char* fold : {"BifoldInside", "ZfoldLeftBind", "C_TrifoldOutside", "Z_TrifoldOutside"})
        EXPECT_TRUE(covered.contains({"Fold", fold})) << fold;
    EXPECT_TRUE(covered.contains({"PunchHoles", "HolesMulti"}));
    EXPECT_TRUE(covered.contains({"TrimmerMode", "True"}));
    // A punch side alone is no finishing: it needs its holes.
    EXPECT_EQ(ticket("Punch=Top").finishings(), (std::vector<int>{}));
}

TEST(JobTicket, TheTypedJobNameAndThePanelsEntriesTravel) {
    const std::string options = kEntry + "JobName='Q3 %x25 figures%x2C final' " + kEntry +
                                "VLSpecificJobName=Input " + kEntry + "MailAddress=a@example.com StapleMode=Saddle "
                                "job-uuid=urn:uuid:1 time-at-creation=1";
    JobTicket t = ticket(options);
    EXPECT_EQ(t.jobName(), "Q3 % figures, final");
    // The panel's entries alone do not show the job went through the panel
    // (a published favorite carries them); the mark a completion writes
    // does, and it stays on this side of the print server.
    EXPECT_FALSE(t.fromPanel());
    JobTicket marked = ticket(options + " kzpde-through-panel=2026-12-10T16:00:00Z");
    EXPECT_TRUE(marked.fromPanel());
    EXPECT_EQ(ownNames(marked), ownNames(t));
    EXPECT_EQ(ownNames(t), (std::vector<std::string>{kEntry + "JobName", kEntry + "MailAddress",
                                                     kEntry + "VLSpecificJobName", "StapleMode"}));
    EXPECT_EQ(t.ownOptions()[0].value, "Q3 %x25 figures%x2C final");  // as the panel stored it
    // The name field's own escapes; a line break has no place in a name.
    EXPECT_EQ(JobTicket::unEscape("a\\\\b\\\"c\\nd%x27"), "a\\b\"c d'");

    // The automatic name, or an empty one, leaves the job's title.
    EXPECT_EQ(ticket(kEntry + "JobName=x " + kEntry + "VLSpecificJobName=Auto").jobName(), "doc.ps");
    EXPECT_EQ(ticket(kEntry + "JobName=").jobName(), "doc.ps");
    // 200 three-byte characters are a name the dialog takes but too long for
    // an IPP name: cut to whole characters.
    std::string kana;
    for (int i = 0; i < 200; ++i) kana += "\xe3\x81\x82";
    const std::string cut = ticket(kEntry + "JobName=" + kana).jobName();
    EXPECT_EQ(cut, kana.substr(0, 255));
    EXPECT_EQ(cut.size() % 3, 0u);
}

TEST(JobTicket, ThePasswordGoesOnlyAsTheJobsPassword) {
    JobTicket t = ticket("job-password=ZW5j%x2C job-password-encryption=none " + kEntry + "SecurityPrint=True");
    ASSERT_TRUE(t.jobPassword());
    EXPECT_EQ(*t.jobPassword(), "ZW5j%x2C");
    // An older client's custom entry becomes the job's password and is not
    // sent under its own name, where any user of the server could read it.
    JobTicket old = ticket(kEntry + "SecurityPrintPassword=abc");
    ASSERT_TRUE(old.jobPassword());
    EXPECT_EQ(*old.jobPassword(), "abc");
    EXPECT_TRUE(ownNames(old).empty());

    ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
    old.addTo(request);
    for (ipp_attribute_t* a = ippFirstAttribute(request); a; a = ippNextAttribute(request))
        EXPECT_EQ(std::string(ippGetName(a)).find("SecurityPrintPassword"), std::string::npos);
    ipp_tag_t group = IPP_TAG_ZERO;  // groups in order, or the server refuses the job
    for (ipp_attribute_t* a = ippFirstAttribute(request); a; a = ippNextAttribute(request)) {
        EXPECT_GE(ippGetGroupTag(a), group) << ippGetName(a);
        group = ippGetGroupTag(a);
    }
    ipp_attribute_t* password = ippFindAttribute(request, "job-password", IPP_TAG_STRING);
    ASSERT_NE(password, nullptr);
    EXPECT_EQ(ippGetGroupTag(password), IPP_TAG_OPERATION);
    ippDelete(request);
}

TEST(JobTicket, AttributesOfTheRequest) {
    JobTicket t = ticket("StapleMode=TopLeftCorner " + kEntry + "MailAddress=a@example.com VLInputSlot=Manual");
    ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
    t.addTo(request);
    EXPECT_STREQ(ippGetString(ippFindAttribute(request, "job-name", IPP_TAG_NAME), 0, nullptr), "doc.ps");
    EXPECT_EQ(ippGetInteger(ippFindAttribute(request, "finishings", IPP_TAG_ENUM), 0), 20);
    EXPECT_STREQ(ippGetString(ippFindAttribute(request, ("kz-" + kEntry + "MailAddress").c_str(), IPP_TAG_NAME), 0,
                              nullptr),
                 "a@example.com");
    ipp_t* media = ippGetCollection(ippFindAttribute(request, "media-col", IPP_TAG_BEGIN_COLLECTION), 0);
    ASSERT_NE(media, nullptr);
    EXPECT_STREQ(ippGetString(ippFindAttribute(media, "media-source", IPP_TAG_KEYWORD), 0, nullptr), "by-pass-tray");
    ipp_t* size = ippGetCollection(ippFindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION), 0);
    ASSERT_NE(size, nullptr);  // the PPD's default page size, A4
    EXPECT_EQ(ippGetInteger(ippFindAttribute(size, "x-dimension", IPP_TAG_INTEGER), 0), 21000);
    ippDelete(request);
}

TEST(JobTicket, OptionsBeyondTheBoundsAreRefusedWithAReason) {
    std::string error;
    QueueDescription none;
    EXPECT_FALSE(JobTicket::read(std::string(JobTicket::kMaxOptionsBytes + 1, 'a'), "t", 1, none, &error));
    EXPECT_NE(error.find("longer"), std::string::npos);
    EXPECT_FALSE(JobTicket::read("X=" + std::string(JobTicket::kMaxValueBytes + 1, 'v'), "t", 1, none, &error));
    EXPECT_FALSE(JobTicket::read("X='a\tb'", "t", 1, none, &error));
    EXPECT_FALSE(JobTicket::read(std::string(253, 'N') + "=1", "t", 1, none, &error));
    EXPECT_TRUE(JobTicket::read(std::string(252, 'N') + "=1", "t", 1, none, &error));
    EXPECT_FALSE(JobTicket::read("X='\xc3('", "t", 1, none, &error));
    std::string many;
    for (std::size_t i = 0; i <= JobTicket::kMaxOptions; ++i) many += "O" + std::to_string(i) + "=1 ";
    EXPECT_FALSE(JobTicket::read(many, "t", 1, none, &error));
    // Nothing at all is a plain job.
    auto empty = JobTicket::read("", "title", 0, none, &error);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->copies(), 1);
    EXPECT_EQ(empty->jobName(), "title");
}

TEST(DeviceAddress, TheContractsFormsAndNothingElse) {
    auto a = DeviceAddress::parse("kzps://printserver.example/printers/KZPrintServer");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->port(), 631);
    EXPECT_EQ(a->printerUri(), "ipp://printserver.example:631/printers/KZPrintServer");
    a = DeviceAddress::parse("kzps://[::1]:8631/printers/Other?service-port=9999");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host(), "::1");
    EXPECT_EQ(a->port(), 8631);
    EXPECT_EQ(a->resource(), "/printers/Other");
    EXPECT_EQ(a->printerUri(), "ipp://[::1]:8631/printers/Other");

    std::string error;
    for (const char* bad : {"ipp://h/printers/Q", "kzps:///printers/Q", "kzps://h/classes/Q", "kzps://h/printers/",
                            "kzps://h/printers/a/b", "kzps://h/printers/Q?service-port=0", "kzps://h/printers/Q?x=1",
                            "kzps://h:99999/printers/Q", ""}) {
        EXPECT_FALSE(DeviceAddress::parse(bad, &error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
