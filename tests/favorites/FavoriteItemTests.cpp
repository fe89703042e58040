// Which names and comments a favorite may have, and the order of the rows.
#include "FavoriteTestSupport.h"
#include "engine/favorites/FavoriteItem.h"

namespace {

using namespace favtest;
using Item = kzp::FavoriteItem;

class FavoriteNames : public FavoriteFolderTest {};

const std::string kInvalid = "This favorite name cannot be used. Use at most 27 bytes, not only spaces, and none of / : \\ * ? \" < > |";

TEST_F(FavoriteNames, AreLimitedToTwentySevenBytesOfTheDefaultEncoding) {
    EXPECT_EQ(Item::checkName(std::string(27, 'a')), std::nullopt);
    EXPECT_EQ(Item::checkName(std::string(28, 'a')), kInvalid);
    // Western: one byte for an accented letter, though UTF-8 takes two.
    EXPECT_EQ(Item::checkName(std::string(27, 'a').replace(0, 1, "é")), std::nullopt);

    kz::TextEncoding::setSystemDefault(kz::Encoding::Windows932);
    std::string thirteen, fourteen;
    for (int i = 0; i < 13; ++i) thirteen += "会";
    fourteen = thirteen + "議";
    EXPECT_EQ(Item::checkName(thirteen), std::nullopt);
    EXPECT_EQ(Item::checkName(fourteen), kInvalid);
    // Half-width katakana are single bytes there.
    EXPECT_EQ(Item::checkName(std::string(thirteen + "ｱ")), std::nullopt);
}

TEST_F(FavoriteNames, RefuseEmptySpacesForbiddenCharactersAndTheDefaultName) {
    EXPECT_EQ(Item::checkName(std::nullopt), std::nullopt);
    EXPECT_EQ(Item::checkName(std::string()), kInvalid);
    EXPECT_EQ(Item::checkName(std::string("   ")), kInvalid);
    EXPECT_EQ(Item::checkName(std::string("\u3000 ")), kInvalid);
    EXPECT_EQ(Item::checkName(std::string(" a")), std::nullopt);
    for (const char* bad : {"a/b", "a:b", "a\\b", "a*", "a?", "\"a\"", "<a>", "a|b"})
        EXPECT_EQ(Item::checkName(std::string(bad)), kInvalid) << bad;
    // A dot name would be left out of every listing; a line break would
    // break the file name in every listing.
    EXPECT_EQ(Item::checkName(std::string(".hidden")), kInvalid);
    EXPECT_EQ(Item::checkName(std::string("a\nb")), kInvalid);
    EXPECT_EQ(Item::checkName(std::string("a.b")), std::nullopt);

    EXPECT_EQ(Item::defaultFavoriteName(), "Default Settings");
    EXPECT_TRUE(Item::isEqualToDefaultFavoriteName("Default Settings"));
    EXPECT_EQ(Item::checkName(std::string("Default Settings")), "The name of the standard favorite cannot be used.");
    EXPECT_EQ(Item::checkName(std::string("Default Settings ")), std::nullopt);
}

TEST_F(FavoriteNames, CommentsHoldWhatAFavoriteFileCarries) {
    const std::string tooLong = "The comment is too long or holds a line break.";
    EXPECT_EQ(Item::checkComment(std::nullopt), std::nullopt);
    EXPECT_EQ(Item::checkComment(std::string(255, 'c')), std::nullopt);
    EXPECT_EQ(Item::checkComment(std::string(256, 'c')), tooLong);
    EXPECT_EQ(Item::checkComment(std::string("two\nlines")), tooLong);
    // 200 accented letters are 200 bytes here but 400 in the file's UTF-8,
    // which the file could not keep.
    std::string accented;
    for (int i = 0; i < 200; ++i) accented += "é";
    EXPECT_EQ(Item::checkComment(accented), tooLong);
}

TEST_F(FavoriteNames, RowsSortFixedRowsFirstThenByPath) {
    auto current = Item::currentSettingItem();
    auto standard = Item::defaultFavoriteItem();
    EXPECT_EQ(*current->name(), "<Current Settings>");
    auto b = Item::favoriteItemWithName("a");
    b->setPath("/f/b.pfj");
    auto a = Item::favoriteItemWithName("z");
    a->setPath("/f/a.pfj");
    auto unsaved = Item::favoriteItemWithName("A");
    EXPECT_TRUE(current->compare(*standard));
    EXPECT_FALSE(standard->compare(*current));
    EXPECT_TRUE(standard->compare(*a));
    EXPECT_TRUE(current->compare(*unsaved));
    EXPECT_TRUE(a->compare(*b));  // by path, not by name
    EXPECT_FALSE(b->compare(*a));
    EXPECT_TRUE(unsaved->compare(*b));  // without a path, by name

    a->setName(std::nullopt);
    a->setComment(std::nullopt);
    EXPECT_EQ(a->name(), "z");
    EXPECT_EQ(a->comment(), std::nullopt);
}

}  // namespace
