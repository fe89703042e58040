#include <gtest/gtest.h>

#include <memory>

#include "loadable/Principal.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"

using kz::Bundle;

namespace {

std::shared_ptr<Bundle> sample(std::vector<std::string> languages) {
    auto b = Bundle::open(std::string(KZ_TEST_DATA) + "/foundation/Sample.bundle/");
    if (b) b->setLanguages(std::move(languages));
    return b;
}

std::string tail(const std::string& path) {
    auto r = path.find("/Resources/");
    return r == std::string::npos ? path : path.substr(r + 11);
}

}  // namespace

TEST(Bundle, OpensFolderAndReadsInfo) {
    auto b = sample({"en"});
    ASSERT_TRUE(b);
    EXPECT_EQ(b->identifier(), "com.example.sample");
    EXPECT_EQ(b->path(), std::string(KZ_TEST_DATA) + "/foundation/Sample.bundle");
    EXPECT_EQ(b->builtInPlugInsPath(), b->path() + "/Contents/PlugIns");
    EXPECT_FALSE(Bundle::open(std::string(KZ_TEST_DATA) + "/foundation/ordered.xml"));
    EXPECT_FALSE(Bundle::open("/nonexistent"));
}

TEST(Bundle, ResourceLookupOrder) {
    auto ja = sample({"ja_JP", "ja", "en"});
    EXPECT_EQ(tail(ja->pathForResource("both", "txt")), "ja.lproj/both.txt");
    EXPECT_EQ(tail(ja->pathForResource("base", "txt")), "Base.lproj/base.txt");
    EXPECT_EQ(tail(ja->pathForResource("plain.txt", "")), "plain.txt");
    auto fr = sample({"fr", "en"});
    EXPECT_EQ(tail(fr->pathForResource("both", ".txt")), "en.lproj/both.txt");
    EXPECT_EQ(fr->pathForResource("missing", "txt"), "");
    EXPECT_EQ(fr->pathForResource("../Info", "plist"), "");
    EXPECT_EQ(fr->pathForResource("en.lproj", ""), "");  // folders are not resources
}

TEST(Bundle, LocalizedStringsByTableWithFallback) {
    auto ja = sample({"ja", "en"});
    EXPECT_EQ(ja->localizedString("Hello", "fb"), "こんにちは");  // UTF-16 table
    // The chosen table answers alone; a key only in English falls back.
    EXPECT_EQ(ja->localizedString("Only English", "fb"), "fb");
    EXPECT_EQ(ja->localizedString("OK", "fb", "UI"), "OK");  // no ja table: en
    EXPECT_EQ(ja->localizedString("OK", "fb", "NoSuchTable"), "fb");
    ja->setLanguages({"en"});
    EXPECT_EQ(ja->localizedString("Hello", ""), "Hello");
    kz::LogCapture log;
    EXPECT_EQ(ja->localizedString("x", "fb", "Broken"), "fb");
    EXPECT_TRUE(log.contains("Broken.strings"));
}

TEST(Bundle, LoadsLibraryAndPrincipalObject) {
    auto b = Bundle::open(KZ_SAMPLE_BUNDLE);
    ASSERT_TRUE(b);
    EXPECT_FALSE(b->isLoaded());
    std::string error;
    std::unique_ptr<TestPrincipal> p(static_cast<TestPrincipal*>(b->principalObject(&error)));
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->magic, 42);
    EXPECT_EQ(p->bundle, b.get());
    EXPECT_TRUE(b->isLoaded());
    // The source fixture has no library.
    auto plain = sample({"en"});
    EXPECT_FALSE(plain->principalObject(&error));
    EXPECT_NE(error.find("no shared library"), std::string::npos);
}
