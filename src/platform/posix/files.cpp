// POSIX file access: UTF-8 paths, resolved without regard to case when a path
// does not exist as written.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "platform/text.h"

namespace kxt::platform {
namespace {

bool Names(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

void AppendComponent(std::string& path, std::string_view component) {
    if (!path.empty() && path.back() != '/') path.push_back('/');
    path.append(component);
}

// The entry of `folder` named `component` without regard to case; among several
// such entries the smallest name, so that the answer does not depend on the
// directory's order. Empty when there is none.
std::string FindEntryNoCase(const std::string& folder, std::u16string_view component) {
    // Closed also when a conversion below runs out of memory.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (dir == nullptr) return {};
    std::string best;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") continue;
        if ((best.empty() || name < best) && EqualsNoCase(Utf8ToUtf16(name), component)) best = name;
    }
    return best;
}

// Opens a regular file for reading; -1 when it is missing or of another kind.
// O_NONBLOCK keeps a FIFO from blocking the open; it is cleared afterwards.
int OpenRegularFile(const std::u16string& path) {
    const int fd = ::open(ResolveNativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Reads until `size` bytes or the end; -1 on an error.
long long ReadFully(int fd, char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<long long>(done);
}

}  // namespace

std::string ResolveNativePath(const std::u16string& path) {
    std::string exact = Utf16ToUtf8(path);
    if (exact.empty() || Names(exact)) return exact;

    std::string resolved = path.front() == u'/' ? "/" : "";
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find(u'/', start);
        if (end == std::u16string::npos) end = path.size();
        const std::u16string_view component(path.data() + start, end - start);
        start = end + 1;
        if (component.empty()) continue;

        const std::string asWritten = Utf16ToUtf8(component);
        std::string candidate = resolved;
        AppendComponent(candidate, asWritten);
        if (component == u"." || component == u".." || Names(candidate)) {
            resolved = std::move(candidate);
            continue;
        }
        const std::string match = FindEntryNoCase(resolved, component);
        if (match.empty()) return exact;
        AppendComponent(resolved, match);
    }
    if (path.back() == u'/' && resolved.back() != '/') resolved.push_back('/');
    return resolved;
}

std::optional<std::u16string> AppendPath(std::u16string path, std::u16string_view more) {
    if (path.empty() || path.back() != kPathSeparator) path += kPathSeparator;
    path += more;
    if (path.size() >= kMaxPath) return std::nullopt;
    return path;
}

bool PathExists(const std::u16string& path) {
    struct stat st {};
    return !path.empty() && ::stat(ResolveNativePath(path).c_str(), &st) == 0;
}

bool IsDirectory(const std::u16string& path) {
    struct stat st {};
    return !path.empty() && ::stat(ResolveNativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

// The whole content of a regular file into a Buffer (a string or FileBytes).
template <class Buffer>
std::optional<Buffer> ReadWhole(const std::u16string& path, std::size_t maxBytes) {
    const int fd = OpenRegularFile(path);
    if (fd < 0) return std::nullopt;
    // Closed also when the content cannot be allocated.
    const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* open) { ::close(*open); });
    struct stat st {};
    const std::size_t expected = ::fstat(fd, &st) == 0 ? static_cast<std::size_t>(st.st_size) : 0;
    // One byte beyond the limit tells a file that is too large (or has grown).
    const std::size_t capacity = maxBytes == kNoSizeLimit ? maxBytes : maxBytes + 1;
    Buffer content;
    std::size_t used = 0;
    bool ok = expected <= maxBytes;
    // Room for the read that finds the end and for a terminator that callers
    // may append, so that neither moves the whole content.
    if (ok) content.reserve(std::min<std::size_t>(capacity - expected, 65536) + expected + 1);
    if (ok) content.resize(expected);
    while (ok) {
        if (used == content.size()) {
            if (content.size() >= capacity) {
                ok = false;
                break;
            }
            content.resize(content.size() + std::min<std::size_t>(capacity - content.size(), 65536));
        }
        const long long n = ReadFully(fd, content.data() + used, content.size() - used);
        if (n < 0) ok = false;
        if (n <= 0) break;
        used += static_cast<std::size_t>(n);
        if (used < content.size()) break;  // the end of the file
    }
    if (!ok || used > maxBytes) return std::nullopt;
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
    int fd = -1;
};

ChunkedFile::ChunkedFile(const std::u16string& path) : impl_(std::make_unique<Impl>()) {
    impl_->fd = OpenRegularFile(path);
}

ChunkedFile::~ChunkedFile() {
    if (impl_->fd >= 0) ::close(impl_->fd);
}

bool ChunkedFile::IsOpen() const noexcept { return impl_->fd >= 0; }

std::size_t ChunkedFile::Read(char* buffer, std::size_t size) {
    if (impl_->fd < 0) return 0;
    const long long n = ReadFully(impl_->fd, buffer, size);
    return n < 0 ? 0 : static_cast<std::size_t>(n);
}

}  // namespace kxt::platform
