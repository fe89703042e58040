#include <gtest/gtest.h>

#include "support/JsonValue.h"

namespace {

TEST(JsonValue, ValuesRoundTripExactlyAndInOrder) {
    auto json = nlohmann::ordered_json::parse(
        R"({"z": 18446744073709551615, "a": -9223372036854775808, "m": [1.5, true, null, "t"]})");
    kz::Value value = kzpde::fromJson(json);
    ASSERT_TRUE(value.isDictionary());
    EXPECT_EQ(value.dictionary().keys(), (std::vector<std::string>{"z", "a", "m"}));
    EXPECT_TRUE(value.dictionary()["z"].isUnsigned());
    EXPECT_EQ(kzpde::toJson(value).dump(), json.dump());
}

TEST(JsonValue, PrintOptionsTakeTextsAndBooleansAndNumbersByPolicy) {
    auto json = nlohmann::ordered_json::parse(R"({"Copies": 2, "Ratio": 1.5, "Staple": "Top", "On": true})");
    std::string error;
    auto asTexts = kzpde::printOptionFromJson(json, false, &error);
    ASSERT_TRUE(asTexts) << error;
    EXPECT_EQ((*asTexts)["Copies"], kz::Value("2"));
    EXPECT_EQ((*asTexts)["Ratio"], kz::Value("1.5"));
    EXPECT_EQ((*asTexts)["On"], kz::Value(true));

    auto asNumbers = kzpde::printOptionFromJson(json, true, &error);
    ASSERT_TRUE(asNumbers) << error;
    EXPECT_EQ((*asNumbers)["Copies"], kz::Value(2));
    EXPECT_EQ(kzpde::printOptionToJson(*asTexts).dump(), R"({"Copies":"2","Ratio":"1.5","Staple":"Top","On":true})");

    EXPECT_FALSE(kzpde::printOptionFromJson(nlohmann::ordered_json::parse(R"({"A": [1]})"), true, &error));
    EXPECT_NE(error.find("\"A\""), std::string::npos);
    EXPECT_FALSE(kzpde::printOptionFromJson(nlohmann::ordered_json::parse("[]"), false, &error));
}

}  // namespace
