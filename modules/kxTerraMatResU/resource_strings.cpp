// Stand-in resource module: the string table of one language, chosen at build
// time by KXT_STRING_TABLE (one "{id, u"text"}," line per string).
#include <algorithm>
#include <iterator>

#if defined(_WIN32)
#define KXT_RESOURCE_EXPORT extern "C" __declspec(dllexport)
#else
#define KXT_RESOURCE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

struct Entry {
    unsigned id;
    const char16_t* text;
};

// Sorted by id, as the table files list them.
constexpr Entry kStrings[] = {
#include KXT_STRING_TABLE
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }),
              "string table must be sorted by id");

}  // namespace

// The text of string `id`, or null when the table has no such string.
KXT_RESOURCE_EXPORT const char16_t* kxtResourceString(unsigned id) {
    const auto* it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                      [](const Entry& e, unsigned key) { return e.id < key; });
    return it != std::end(kStrings) && it->id == id ? it->text : nullptr;
}
