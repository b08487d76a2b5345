// A fresh folder under the system's temporary folder, removed with its
// content when the object goes out of scope.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kxt::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const noexcept { return path_; }

    // Writes `bytes` exactly as given to the file `name` in the folder and
    // returns its full path.
    std::filesystem::path Write(std::string_view name, std::string_view bytes) const;

    // The full path of `name` in the folder as a UTF-16 string (whether or
    // not the file exists).
    std::u16string File(std::string_view name) const;

private:
    std::filesystem::path path_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& file);

// A '/'-separated UTF-8 path as a file system path.
std::filesystem::path Utf8Path(std::string_view utf8);

// A file system path as the module spells paths: UTF-16, the platform's separator.
std::u16string ModulePath(const std::filesystem::path& path);

}  // namespace kxt::test
