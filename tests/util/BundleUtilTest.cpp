#include <gtest/gtest.h>

#include "Common/Util/BundleUtil.h"
#include "Common/Util/DictionaryUtil.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

std::shared_ptr<kz::Bundle> sample() {
    auto b = kz::Bundle::open(std::string(KZ_TEST_DATA) + "/foundation/Sample.bundle");
    b->setLanguages({"en"});
    return b;
}

struct BundleHelpers : ::testing::Test {
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        kzp::SetNSBundleForLocalizedString(nullptr);
        kzp::SetCFBundleRefForLocalizedString(nullptr);
        kzp::SetNSBundleForPrincipalBundle(nullptr);
        kzp::SetCFBundleRefForPrincipalBundle(nullptr);
    }
};

}  // namespace

TEST_F(BundleHelpers, LocalizedStringFormsAndFallbacks) {
    EXPECT_EQ(kzp::BSLocalizedString("Hello"), std::nullopt);
    kzp::SetCFBundleRefForLocalizedString(sample());
    EXPECT_EQ(kzp::BSLocalizedString("Hello"), "Hello");
    EXPECT_EQ(kzp::BSLocalizedString("Missing"), "Missing");
    // The object form wins over the reference form and falls back to "".
    kzp::SetNSBundleForLocalizedString(sample());
    EXPECT_EQ(kzp::BSLocalizedString("Only English"), "only in en");
    EXPECT_EQ(kzp::BSLocalizedString("Missing"), "");
}

TEST_F(BundleHelpers, PrincipalBundleForms) {
    EXPECT_EQ(kzp::BSPrincipalBundle(), nullptr);
    auto ref = sample();
    kzp::SetCFBundleRefForPrincipalBundle(ref);
    auto fromRef = kzp::BSPrincipalBundle();
    ASSERT_TRUE(fromRef);
    EXPECT_EQ(fromRef->path(), ref->path());
    EXPECT_EQ(kzp::BSPrincipalBundle(), fromRef);  // opened once
    auto object = sample();
    kzp::SetNSBundleForPrincipalBundle(object);
    EXPECT_EQ(kzp::BSPrincipalBundle(), object);
    // A new reference form is not answered with the old folder.
    kzp::SetNSBundleForPrincipalBundle(nullptr);
    kzp::SetCFBundleRefForPrincipalBundle(kz::Bundle::open(std::string(KZ_TEST_DATA) + "/foundation"));
    EXPECT_EQ(kzp::BSPrincipalBundle()->path(), std::string(KZ_TEST_DATA) + "/foundation");
}

TEST(DictionaryHelpers, DictionaryNamedAndSetIfObject) {
    auto b = sample();
    auto d = kzp::DictionaryNamed("config", b);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->keys(), (std::vector<std::string>{"second", "first"}));
    EXPECT_FALSE(kzp::DictionaryNamed("list", b));  // an array
    EXPECT_FALSE(kzp::DictionaryNamed("missing", b));
    EXPECT_FALSE(kzp::DictionaryNamed("", b));
    EXPECT_FALSE(kzp::DictionaryNamed("config", nullptr));

    kz::Dictionary out;
    kzp::SetIfObjectForKey(out, kz::Value(), "null");
    kzp::SetIfObjectForKey(out, std::optional<std::string>(), "none");
    kzp::SetIfObjectForKey(out, kz::Value(""), "empty");
    kzp::SetIfObjectForKey(out, std::optional<std::string>("x"), "text");
    EXPECT_EQ(out.keys(), (std::vector<std::string>{"empty", "text"}));
}
