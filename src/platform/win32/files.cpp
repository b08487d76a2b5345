// Windows file access: the file system itself matches names without regard to case.
#include "platform/files.h"

#include <algorithm>
#include <cwchar>
#include <memory>

#include "platform/text.h"
#include "platform/win32/windows_api.h"

#include <shlwapi.h>

namespace kxt::platform {
namespace {

HANDLE OpenForReading(const std::u16string& path) {
    return CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// Reads until `size` bytes or the end; false on an error.
bool ReadFully(HANDLE file, char* buffer, std::size_t size, std::size_t& done) {
    done = 0;
    while (done < size) {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file, buffer + done, ask, &got, nullptr)) return false;
        if (got == 0) break;
        done += got;
    }
    return true;
}

}  // namespace

std::string ResolveNativePath(const std::u16string& path) { return Utf16ToUtf8(path); }

std::optional<std::u16string> AppendPath(std::u16string path, std::u16string_view more) {
    // PathAppendW leaves an empty path relative; the join starts at the separator.
    if (path.empty()) path += kPathSeparator;
    if (path.size() >= kMaxPath) return std::nullopt;
    wchar_t buffer[kMaxPath] = {};
    std::copy(path.begin(), path.end(), buffer);
    const std::wstring tail(more.begin(), more.end());
    // On success the result, terminator included, fits the buffer.
    if (!PathAppendW(buffer, tail.c_str())) return std::nullopt;
    return std::u16string(buffer, buffer + wcsnlen(buffer, kMaxPath));
}

bool PathExists(const std::u16string& path) {
    return !path.empty() && GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::u16string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

namespace {

// The whole content of a regular file into a Buffer (a string or FileBytes).
template <class Buffer>
std::optional<Buffer> ReadWhole(const std::u16string& path, std::size_t maxBytes) {
    const HANDLE file = OpenForReading(path);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    // Closed also when the content cannot be allocated.
    const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, &CloseHandle);
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        return std::nullopt;
    }
    Buffer content;
    // Room for the few bytes that callers append (a terminator, zeros to
    // read ahead into) without moving the content.
    constexpr std::size_t kAppendRoom = 16;
    content.reserve(static_cast<std::size_t>(size.QuadPart) + kAppendRoom);
    content.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t used = 0;
    if (!ReadFully(file, content.data(), content.size(), used)) return std::nullopt;
    content.resize(used);
    return content;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::u16string& path, std::size_t maxBytes) {
    return ReadWhole<std::string>(path, maxBytes);
}

std::optional<FileBytes> ReadFileBytes(const std::u16string& path, std::size_t maxBytes) {
    return ReadWhole<FileBytes>(path, maxBytes);
}

struct ChunkedFile::Impl {
    HANDLE file = INVALID_HANDLE_VALUE;
};

ChunkedFile::ChunkedFile(const std::u16string& path) : impl_(std::make_unique<Impl>()) {
    impl_->file = OpenForReading(path);
    if (impl_->file != INVALID_HANDLE_VALUE && GetFileType(impl_->file) != FILE_TYPE_DISK) {
        CloseHandle(impl_->file);
        impl_->file = INVALID_HANDLE_VALUE;
    }
}

ChunkedFile::~ChunkedFile() {
    if (impl_->file != INVALID_HANDLE_VALUE) CloseHandle(impl_->file);
}

bool ChunkedFile::IsOpen() const noexcept { return impl_->file != INVALID_HANDLE_VALUE; }

std::size_t ChunkedFile::Read(char* buffer, std::size_t size) {
    std::size_t done = 0;
    if (impl_->file == INVALID_HANDLE_VALUE || !ReadFully(impl_->file, buffer, size, done)) return 0;
    return done;
}

}  // namespace kxt::platform
