// File system access. Paths are UTF-16; on POSIX they are converted to UTF-8
// and, when a path does not exist as written, resolved one component at a
// time without regard to case (as the host platform's file system matches).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/path_text.h"

namespace kxt::platform {

// Maximum path length of the host platform's fixed path buffers (MAX_PATH).
inline constexpr std::size_t kMaxPath = 260;

// The platform's path-append operation, in a buffer of kMaxPath characters:
// more joined to path with one separator (an empty path gives the separator,
// then more). Windows: PathAppendW, which also resolves the "." and ".."
// components of the result. POSIX, which has no such operation: the two
// joined as they stand. nullopt when path or the result does not fit the
// buffer with its terminator, or the join fails.
std::optional<std::u16string> AppendPath(std::u16string path, std::u16string_view more);

// True when the path names an existing file or directory.
bool PathExists(const std::u16string& path);
// True when the path names an existing directory.
bool IsDirectory(const std::u16string& path);

// No limit on the size that ReadWholeFile accepts.
inline constexpr std::size_t kNoSizeLimit = static_cast<std::size_t>(-1);

// The whole content of a regular file; nullopt when it is missing, not a
// regular file, unreadable or larger than maxBytes.
std::optional<std::string> ReadWholeFile(const std::u16string& path, std::size_t maxBytes = kNoSizeLimit);

// An allocator whose elements made without a value are left as they are
// (default-initialised): a buffer sized for a read is not filled first.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <class U>
    explicit UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}

    template <class U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

// The bytes of a file read whole, for a reader that works on them in place:
// unlike a string's, its room is not zeroed before the file is read into it,
// which for a large file is a pass over memory of the file's size.
using FileBytes = std::vector<char, UninitialisedAllocator<char>>;

// ReadWholeFile into FileBytes.
std::optional<FileBytes> ReadFileBytes(const std::u16string& path, std::size_t maxBytes = kNoSizeLimit);

// The path as the OS names it, in UTF-8. POSIX: each component that does not
// exist as written is replaced by the entry of its folder that equals it
// without regard to case (the smallest such name when there are several); the
// path itself when some component matches nothing. Windows: the path unchanged.
std::string ResolveNativePath(const std::u16string& path);

// A file read sequentially in chunks of the caller's size.
class ChunkedFile {
public:
    // Opens a regular file for reading, sharing read access; IsOpen() is
    // false when it is missing, not a regular file or unreadable.
    explicit ChunkedFile(const std::u16string& path);
    ~ChunkedFile();
    ChunkedFile(const ChunkedFile&) = delete;
    ChunkedFile& operator=(const ChunkedFile&) = delete;

    bool IsOpen() const noexcept;
    // Reads up to size bytes into buffer; returns the count read, 0 at the end or on error.
    std::size_t Read(char* buffer, std::size_t size);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kxt::platform
