#pragma once

#include <string>

namespace kzpde {

// A file of the tool's own in the temporary folder ($TMPDIR, else /tmp),
// made empty and private, removed with the object. path() is empty when no
// file could be made.
class TempFile {
public:
    explicit TempFile(const std::string& suffix = ".ppd");
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return _path; }

private:
    std::string _path;
};

}  // namespace kzpde
