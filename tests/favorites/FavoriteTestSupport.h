// A favorite folder of its own for each test, the source bundle as the
// plug-in's bundle (its view descriptions and English texts), and a scripted
// user.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "Common/Util/BundleUtil.h"
#include "TempFolder.h"
#include "engine/favorites/FavoriteFile.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/TextEncoding.h"
#include "platform/kit/Application.h"
#include "platform/kit/FieldEditor.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Utf16.h"
#include "platform/kit/Window.h"

namespace favtest {

namespace kzp = ComTORVALEKZ2R4_Plugin;

class FavoriteFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) _savedConfig = old;
        ::setenv("XDG_CONFIG_HOME", _config.path().c_str(), 1);
        auto bundle = kz::Bundle::open(std::string(KZ_SOURCE_DIR) + "/resources/bundle");
        ASSERT_TRUE(bundle);
        kzp::SetNSBundleForPrincipalBundle(bundle);
        kzp::SetNSBundleForLocalizedString(bundle);
        kzp::AppPreference::sharedInstance().setBundle(bundle);
        std::vector<std::string> folders = kzp::AppPreference::sharedInstance().favoriteFolderPathArray(true);
        ASSERT_FALSE(folders.empty());
        _folder = folders.front();
        kz::Application::shared().setDriver(&_user);
    }
    void TearDown() override {
        kz::Application::shared().setDriver(nullptr);
        kz::TextEncoding::setSystemDefault(kz::Encoding::Windows1252);
        if (_savedConfig) ::setenv("XDG_CONFIG_HOME", _savedConfig->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
    }

    // A favorite file with one option and the comment.
    std::string write(const std::string& name, const std::string& comment, const std::string& folder = {}) {
        kzp::FavoriteFile file;
        file.setComment(comment);
        file.setOptions(kz::Dictionary{{"Tag" + name, kz::Value(std::string("value of ") + name)}});
        std::string path = kzp::FavoriteFile::pathWithName(name, folder.empty() ? _folder : folder);
        EXPECT_TRUE(file.writeToFile(path));
        return path;
    }
    std::string inFolder(const std::string& name) const { return kzp::FavoriteFile::pathWithName(name, _folder); }
    static bool exists(const std::string& path) { return std::filesystem::exists(path); }
    static std::optional<std::string> commentOf(const std::string& path) { return kzp::FavoriteFile(path).comment(); }

    // A user step: the field with the tag gets the text as one paste over
    // what it held (the field's byte limit may refuse it).
    kz::ScriptedUiDriver& replace(long tag, std::string text) {
        return _user.then([tag, text](kz::Application&, kz::Window& w) {
            auto* field = dynamic_cast<kz::TextField*>(kz::ScriptedUiDriver::find(w.contentView(), [&](kz::View& v) {
                auto* f = dynamic_cast<kz::TextField*>(&v);
                return f && f->tag() == tag;
            }));
            if (!field || !w.makeFirstResponder(field) || !field->currentEditor()) return false;
            kz::FieldEditor* editor = field->currentEditor();
            editor->setSelectedRange({0, kz::Utf16::length(editor->string())});
            editor->insertText("");
            editor->insertText(text);
            return true;
        });
    }
    // A user step that only looks (and answers whether the check held).
    kz::ScriptedUiDriver& look(std::function<void(kz::Window&)> check) {
        return _user.then([check](kz::Application&, kz::Window& w) {
            check(w);
            return true;
        });
    }

    TempFolder _config;
    std::optional<std::string> _savedConfig;
    std::string _folder;
    kz::ScriptedUiDriver _user;
};

}  // namespace favtest
