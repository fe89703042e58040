#include "engine/favorites/FavoriteRenames.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "engine/favorites/FavoriteFile.h"
#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

namespace fs = std::filesystem;

constexpr const char* kTemporaryPrefix = ".kzpde-renaming-";
constexpr std::size_t kMaxJournalBytes = 1u << 20;

std::string nameOf(const std::string& path) { return fs::path(path).filename().string(); }

// A journal entry names files of its own folder only.
bool plainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// Moves a file without ever replacing one that is already there.
bool moveWithoutReplacing(const std::string& from, const std::string& to, std::string& error) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) {
        error = std::strerror(errno);
        return false;
    }
#endif
    // A file system without the flag: a hard link refuses an existing name
    // too. A crash between the two leaves two names of one file, which
    // recovery tells apart from two files.
    if (::link(from.c_str(), to.c_str()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat x {}, y {};
    return ::lstat(a.c_str(), &x) == 0 && ::lstat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

void flushFolder(const std::string& folder) {
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

// A hidden file that could go to neither of its names keeps a visible one.
std::string freeName(const std::string& folder, const std::string& from) {
    std::string stem = FavoriteFile::nameWithPath(from);
    for (int n = 1;; ++n) {
        std::string path = FavoriteFile::pathWithName(stem + " (recovered" + (n > 1 ? " " + std::to_string(n) : "") + ")", folder);
        if (!exists(path)) return path;
    }
}

// Puts the hidden file of one journal entry where it belongs.
void settle(const std::string& folder, const std::string& from, const std::string& to, const std::string& temporary) {
    struct stat info {};
    if (::lstat(temporary.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
    // A link made without its unlink: the file has its place already.
    if (sameFile(temporary, to) || sameFile(temporary, from)) {
        ::unlink(temporary.c_str());
        return;
    }
    std::string error;
    for (const std::string& target : {to, from, freeName(folder, from)}) {
        if (moveWithoutReplacing(temporary, target, error)) return;
        if (errno != EEXIST) break;
    }
    kz::Log::line("### ## can't move \"" + temporary + "\" back to a favorite's name " + error);
}

}  // namespace

void FavoriteRenames::recover(const std::string& folder) {
    const std::string journal = folder + "/" + kJournalName;
    if (!exists(journal)) return;
    std::string bytes;
    kz::Value entries;
    if (kz::FileBytes::read(journal, kMaxJournalBytes, &bytes) == kz::FileBytes::Status::ok)
        entries = kz::PropertyList::read(bytes);
    if (entries.isArray()) {
        for (const kz::Value& entry : entries.array()) {
            if (!entry.isDictionary()) continue;
            const kz::Dictionary& e = entry.dictionary();
            std::string from = e.get("from").stringValue(), to = e.get("to").stringValue(),
                        temporary = e.get("temporary").stringValue();
            if (!plainName(from) || !plainName(to) || !plainName(temporary) || !temporary.starts_with(kTemporaryPrefix))
                continue;
            settle(folder, folder + "/" + from, folder + "/" + to, folder + "/" + temporary);
        }
    } else {
        kz::Log::line("### ## unreadable rename journal \"" + journal + "\"");
    }
    flushFolder(folder);
    ::unlink(journal.c_str());
    flushFolder(folder);
}

std::vector<std::string> FavoriteRenames::apply(const std::string& folder, const std::vector<Move>& moves) {
    std::vector<std::string> errors(moves.size());
    if (moves.empty()) return errors;
    recover(folder);
    std::vector<std::string> temporaries;
    kz::Array journal;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        std::string temporary = kTemporaryPrefix + std::to_string(::getpid()) + "-" + std::to_string(i) + ".pfj";
        temporaries.push_back(folder + "/" + temporary);
        journal.emplace_back(kz::Dictionary{{"from", kz::Value(nameOf(moves[i].from))},
                                            {"to", kz::Value(nameOf(moves[i].to))},
                                            {"temporary", kz::Value(temporary)}});
    }
    // Without the journal on disk no file may leave its name.
    std::string error;
    if (!kz::PropertyList::writeFile(kz::Value(std::move(journal)), folder + "/" + kJournalName, &error)) {
        for (std::string& e : errors) e = "the rename journal was not written: " + error;
        return errors;
    }
    std::vector<bool> hidden(moves.size(), false);
    for (std::size_t i = 0; i < moves.size(); ++i) {
        hidden[i] = moveWithoutReplacing(moves[i].from, temporaries[i], errors[i]);
        kz::CrashPoint::pass();
    }
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (!hidden[i]) continue;
        // Refused at its new name: back to its old one (or a free one).
        if (!moveWithoutReplacing(temporaries[i], moves[i].to, errors[i]))
            settle(folder, moves[i].from, moves[i].from, temporaries[i]);
        kz::CrashPoint::pass();
    }
    flushFolder(folder);
    ::unlink((folder + "/" + kJournalName).c_str());
    flushFolder(folder);
    kz::CrashPoint::pass();
    return errors;
}

}  // namespace ComTORVALEKZ2R4_Plugin
