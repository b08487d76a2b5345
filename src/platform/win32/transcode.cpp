// Character-encoding conversion to UTF-8 through the Windows code pages.
#include <algorithm>
#include <array>
#include <climits>
#include <new>
#include <string_view>

#include "platform/text.h"
#include "platform/win32/windows_api.h"

namespace kxt::platform {

namespace {

struct NamedCodePage {
    std::u16string_view name;
    UINT codePage;
};

// The encoding names an XML declaration commonly carries, and their code pages.
constexpr std::array<NamedCodePage, 32> kCodePages{{
    {u"utf-16le", 1200},     {u"utf-16be", 1201},     {u"utf-16", 1200},       {u"us-ascii", 20127},
    {u"ascii", 20127},       {u"iso-8859-1", 28591},  {u"latin1", 28591},      {u"iso-8859-2", 28592},
    {u"iso-8859-3", 28593},  {u"iso-8859-4", 28594},  {u"iso-8859-5", 28595},  {u"iso-8859-6", 28596},
    {u"iso-8859-7", 28597},  {u"iso-8859-8", 28598},  {u"iso-8859-9", 28599},  {u"iso-8859-13", 28603},
    {u"iso-8859-15", 28605}, {u"windows-1250", 1250}, {u"windows-1251", 1251}, {u"windows-1252", 1252},
    {u"windows-1253", 1253}, {u"windows-1254", 1254}, {u"windows-1255", 1255}, {u"windows-1256", 1256},
    {u"windows-1257", 1257}, {u"windows-1258", 1258}, {u"shift_jis", 932},     {u"gb2312", 936},
    {u"gbk", 936},           {u"big5", 950},          {u"euc-kr", 51949},      {u"koi8-r", 20866},
}};

UINT CodePageOf(const std::string& encoding) {
    const std::u16string name(encoding.begin(), encoding.end());
    for (const NamedCodePage& entry : kCodePages) {
        if (EqualsNoCase(entry.name, name)) return entry.codePage;
    }
    return 0;
}

// UTF-16 bytes in the given byte order as code units; nullopt for an odd
// count or a surrogate without its partner, which no encoding can carry.
std::optional<std::u16string> Utf16Units(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            ++i;
        } else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i])) {
            return std::nullopt;
        }
    }
    return units;
}

// Bytes above 0x7F are not ASCII, though some Windows versions map them in
// code page 20127 rather than refuse them.
constexpr UINT kAsciiCodePage = 20127;
bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::optional<std::string> TranscodeToUtf8(std::string_view bytes, const std::string& encoding) {
    const UINT codePage = CodePageOf(encoding);
    if (codePage == 0) return std::nullopt;
    if (codePage == 1200 || codePage == 1201) {
        const auto units = Utf16Units(bytes, codePage == 1201);
        if (!units) return std::nullopt;
        return Utf16ToUtf8(*units);
    }
    if (codePage == kAsciiCodePage && !IsAscii(bytes)) return std::nullopt;
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    if (length == 0) return std::string();
    const int needed = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (needed <= 0) {
        if (GetLastError() == ERROR_NOT_ENOUGH_MEMORY) throw std::bad_alloc();
        return std::nullopt;
    }
    std::u16string wide(static_cast<std::size_t>(needed), u'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, reinterpret_cast<wchar_t*>(wide.data()),
                        needed);
    return Utf16ToUtf8(wide);
}

}  // namespace kxt::platform
