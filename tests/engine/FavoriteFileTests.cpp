#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempFolder.h"
#include "engine/favorites/FavoriteFile.h"
#include "engine/favorites/FavoriteTokenReader.h"
#include "platform/foundation/Log.h"

using namespace ComTORVALEKZ2R4_Plugin;

namespace {

std::string fixture(const std::string& name) { return std::string(KZ_TEST_DATA) + "/engine/" + name; }

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool isUnknown(const FavoriteFile& file) {
    return file.version() == kFavoriteFile_UnknownVersion && file.iotType() == kFavoriteFile_UnknownIotType &&
           file.encoding() == kFavoriteFile_UnknownEncoding && !file.comment() && !file.options();
}

}  // namespace

TEST(FavoriteFile, WritesTheExactLayoutAndNumbersReadBackAsStrings) {
    TempFolder folder;
    FavoriteFile file;
    file.setComment("abc");
    file.setOptions(kz::Dictionary{{"A", 1}, {"B", "x"}});
    ASSERT_TRUE(file.writeToFile(folder / "f.pfj"));
    EXPECT_EQ(contents(folder / "f.pfj"), contents(fixture("written.pfj")));

    FavoriteFile back(folder / "f.pfj");
    EXPECT_EQ(back.version(), 2);
    EXPECT_EQ(back.iotType(), 4);
    EXPECT_EQ(back.encoding(), 0);
    EXPECT_EQ(back.comment(), "abc");
    EXPECT_EQ(*back.options(), (kz::Dictionary{{"A", "1"}, {"B", "x"}}));
}

TEST(FavoriteFile, HeaderChecksResetToUnknownAndSayWhichFailed) {
    struct Case {
        const char* file;
        const char* logged;
    } cases[] = {
        {"version-too-high.pfj", "### ## allowVersion is invalid \"3\" (2 required)"},
        {"version-two-digits.pfj", "### ## allowVersion is invalid \"12\" (2 required)"},
        {"other-device.pfj", "### ## iotType is invalid format \"5\" (4 required)"},
        {"bad-code.pfj", "### ## encoding is invalid \"x\""},
        {"header-only.pfj", nullptr},
        {"comment-no-pairs.pfj", nullptr},
    };
    for (const Case& c : cases) {
        kz::LogCapture log;
        FavoriteFile file(fixture(c.file));
        EXPECT_TRUE(isUnknown(file)) << c.file;
        if (c.logged) {
            EXPECT_TRUE(log.contains(c.logged)) << c.file;
        }
    }
}

TEST(FavoriteFile, MissingFileIsLoggedAndLeavesUnknownValues) {
    kz::LogCapture log;
    FavoriteFile file("/nonexistent/x.pfj");
    EXPECT_TRUE(isUnknown(file));
    EXPECT_TRUE(log.contains("### ## exception caught \"File not found\" \"\"/nonexistent/x.pfj\" not found\", "
                             "whlie reading from \"/nonexistent/x.pfj\"."));
}

TEST(FavoriteFile, ReadsJapaneseTextInEitherEncoding) {
    FavoriteFile v1(fixture("version1-shiftjis.pfj"));
    EXPECT_EQ(v1.version(), 1);
    EXPECT_EQ(v1.encoding(), kFavoriteFile_UnknownEncoding);
    EXPECT_EQ(v1.comment(), "お気に入り（両面）");
    EXPECT_EQ(*v1.options(), (kz::Dictionary{{"CL_RGBMD", "1"}, {"SP_SAVEFT", "0"}}));

    EXPECT_EQ(FavoriteFile(fixture("code0-shiftjis.pfj")).comment(), "両面カラー");
    FavoriteFile utf8(fixture("code0-utf8.pfj"));
    EXPECT_EQ(utf8.comment(), "日本語のコメント");
    EXPECT_EQ(utf8.options()->get("A").string(), "é");
}

TEST(FavoriteFile, NonAsciiCommentAndValueRoundTrip) {
    TempFolder folder;
    FavoriteFile file;
    file.setComment("会議用 – ½");
    file.setOptions(kz::Dictionary{{"SP_TITLE", "報告書"}});
    ASSERT_TRUE(file.writeToFile(folder / "j.pfj"));
    FavoriteFile back(folder / "j.pfj");
    EXPECT_EQ(back.encoding(), 0);
    EXPECT_EQ(back.comment(), "会議用 – ½");
    EXPECT_EQ(back.options()->get("SP_TITLE").string(), "報告書");
}

TEST(FavoriteFile, OptionalCommentAndShortLastValue) {
    FavoriteFile noComment(fixture("no-comment.pfj"));
    EXPECT_FALSE(noComment.comment());
    EXPECT_EQ(*noComment.options(), (kz::Dictionary{{"A", "1"}, {"B", "2"}}));

    FavoriteFile atEnd(fixture("value-at-end.pfj"));
    EXPECT_EQ(atEnd.comment(), "");
    EXPECT_EQ(*atEnd.options(), (kz::Dictionary{{"A", "1"}, {"B", ""}}));
}

TEST(FavoriteFile, LongestCommentRoundTripsAndLongerOnesAreRefused) {
    TempFolder folder;
    FavoriteFile file;
    file.setOptions(kz::Dictionary{{"A", "1"}});
    file.setComment(std::string(255, 'c'));
    ASSERT_TRUE(file.writeToFile(folder / "c.pfj"));
    EXPECT_EQ(FavoriteFile(folder / "c.pfj").comment(), std::string(255, 'c'));

    // A longer comment would spill into the first key on reading.
    file.setComment(std::string(256, 'c'));
    EXPECT_FALSE(file.writeToFile(folder / "c.pfj"));
    EXPECT_EQ(FavoriteFile(folder / "c.pfj").comment(), std::string(255, 'c'));
}

TEST(FavoriteFile, FailedWriteKeepsTheOldFileAndAnswersFalse) {
    TempFolder folder;
    std::string path = folder / "keep.pfj";
    FavoriteFile old;
    old.setComment("old");
    old.setOptions(kz::Dictionary{{"A", "1"}});
    ASSERT_TRUE(old.writeToFile(path));
    std::string before = contents(path);

    FavoriteFile big;
    big.setOptions(kz::Dictionary{});
    kz::Dictionary many;
    for (int i = 0; i < 400; ++i) many.set("KEY" + std::to_string(i), std::string(400, 'v'));
    big.setOptions(many);

    // The disk "fills up" halfway through the write.
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    auto previous = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    bool written = big.writeToFile(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);

    EXPECT_FALSE(written);
    EXPECT_EQ(contents(path), before);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    EXPECT_FALSE(old.writeToFile(""));
    EXPECT_FALSE(old.writeToFile(folder / "missing-folder/x.pfj"));
    std::filesystem::create_directory(folder / "dir.pfj");
    EXPECT_FALSE(old.writeToFile(folder / "dir.pfj"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "dir.pfj"));
}

TEST(FavoriteFile, RefusesSeparatorsInsideFields) {
    TempFolder folder;
    for (kz::Dictionary options : {kz::Dictionary{{"A=B", "1"}}, kz::Dictionary{{"A\t", "1"}},
                                   kz::Dictionary{{"", "1"}}, kz::Dictionary{{"A", "x\ty"}}}) {
        FavoriteFile file;
        file.setOptions(options);
        EXPECT_FALSE(file.writeToFile(folder / "x.pfj"));
    }
    FavoriteFile file;
    file.setComment("two\nlines");
    file.setOptions(kz::Dictionary{{"A", "1"}});
    EXPECT_FALSE(file.writeToFile(folder / "x.pfj"));
    EXPECT_FALSE(std::filesystem::exists(folder / "x.pfj"));
}

TEST(FavoriteFile, NamesAndPaths) {
    EXPECT_EQ(FavoriteFile::pathWithName("A", "/x"), "/x/A.pfj");
    EXPECT_EQ(FavoriteFile::pathWithName("A", "/x/"), "/x/A.pfj");
    EXPECT_EQ(FavoriteFile::nameWithPath("/x/A.pfj"), "A");
    EXPECT_EQ(FavoriteFile::nameWithPath("/x/a.b.pfj"), "a.b");
    EXPECT_EQ(FavoriteFile::nameAppendingClassic("A"), "A (Classic)");
    EXPECT_TRUE(FavoriteFile::hasExtension("A.pfj"));
    EXPECT_FALSE(FavoriteFile::hasExtension("A.PFJ"));
    EXPECT_FALSE(FavoriteFile::hasExtension("pfj"));
}

TEST(FavoriteFile, ExportedFunctions) {
    EXPECT_EQ(FavoriteNameAppendingClassic(nullptr), nullptr);
    EXPECT_EQ(FavoriteCommentWithContentsOfFile(nullptr), nullptr);
    std::string path = fixture("written.pfj");
    EXPECT_EQ(*FavoriteNameWithPath(&path), "written");
    EXPECT_EQ(*FavoriteCommentWithContentsOfFile(&path), "abc");
    EXPECT_EQ(FavoriteDictionaryWithContentsOfFile(&path)->size(), 2u);
    std::string bad = fixture("header-only.pfj");
    EXPECT_EQ(FavoriteDictionaryWithContentsOfFile(&bad), nullptr);
}

TEST(FavoriteTokenReader, StopsAtDelimiterEndOrOneByteBeyondTheLimit) {
    bool eof = true;
    FavoriteTokenReader exact("abcd=rest");
    EXPECT_EQ(exact._getToken('=', 4, kz::Encoding::ASCII, &eof), "abcd");
    EXPECT_FALSE(eof);
    EXPECT_EQ(exact._getToken('=', 4, kz::Encoding::ASCII, &eof), "rest");
    EXPECT_TRUE(eof);
    EXPECT_EQ(exact._getToken('=', 4, kz::Encoding::ASCII, &eof), std::nullopt);

    FavoriteTokenReader longer("abcdefg=x");
    EXPECT_EQ(longer._getToken('=', 4, kz::Encoding::ASCII, &eof), "abcde");
    EXPECT_FALSE(eof);
    EXPECT_EQ(longer._getToken('=', 4, kz::Encoding::ASCII, &eof), "fg");

    FavoriteTokenReader odd("=\xff=");
    EXPECT_EQ(odd._getToken('=', 4, kz::Encoding::ASCII, &eof), std::nullopt);  // empty
    EXPECT_EQ(odd._getToken('=', 4, kz::Encoding::ASCII, &eof), std::nullopt);  // not ASCII
    EXPECT_EQ(odd._getToken('\0', 4, kz::Encoding::ASCII, &eof), std::nullopt);
}
