#include "xml/number_text.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kxt::xml {
namespace {

// The C runtime reads narrow text: every character a number can hold is
// ASCII, so the text is cut at its first non-ASCII or zero code unit.
std::string NarrowNumberText(std::u16string_view text) {
    std::string narrow;
    narrow.reserve(text.size() < 64 ? text.size() : 64);
    for (const char16_t c : text) {
        if (c == 0 || c >= 0x80) break;
        narrow.push_back(static_cast<char>(c));
    }
    return narrow;
}

}  // namespace

double LeadingNumberOrZero(std::u16string_view text) {
    const std::string narrow = NarrowNumberText(text);
    return std::strtod(narrow.c_str(), nullptr);
}

double ScannedNumberOr(std::u16string_view text, double fallback) {
    const std::string narrow = NarrowNumberText(text);
    double value = fallback;
    if (std::sscanf(narrow.c_str(), "%lf", &value) != 1) return fallback;
    return value;
}

}  // namespace kxt::xml
