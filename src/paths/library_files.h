// The names of the library and data files, and the list of libraries the
// add-in hands to UpdateMaterials. Stateless: the command-line host uses it
// without linking the module's internals.
#pragma once

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/path_text.h"

namespace kxt::paths {

inline constexpr char16_t kMaterialsFolder[] = u"kvxmaterials";
inline constexpr char16_t kNativeLibraryFile[] = u"korvex materials.kvxmat";
inline constexpr char16_t kDinLibraryFile[] = u"korvex din materials.kvxmat";
inline constexpr char16_t kSustainExtrasName[] = u"Sustainability Extras";
inline constexpr char16_t kSustainExtrasFile[] = u"Sustainability Extras.kvxmat";
inline constexpr char16_t kProcessSettingsFile[] = u"materials process.dat";
inline constexpr char16_t kDinMappingFile[] = u"DINMaterialsMapper.txt";

// A folder that the main module reported (ending with a separator) +
// "kvxmaterials" + separator + fileName; how the host's list names the
// standard libraries and the language copy of the sustainability extras.
inline std::u16string ReportedLibrary(const std::u16string& reportedFolder, std::u16string_view fileName) {
    return platform::JoinPath(reportedFolder + kMaterialsFolder, {fileName});
}

// The libraries the add-in hands to UpdateMaterials: the standard and DIN
// libraries and the sustainability extras of the language folder that the
// main module reports (langFolder, ending with a separator), the user's copy
// of the extras in userData, then the custom libraries in their order.
inline std::vector<std::u16string> HostLibraryList(const std::u16string& langFolder, const std::u16string& userData,
                                                   std::vector<std::u16string> custom) {
    std::vector<std::u16string> list{
        ReportedLibrary(langFolder, kNativeLibraryFile),
        ReportedLibrary(langFolder, kDinLibraryFile),
        ReportedLibrary(langFolder, kSustainExtrasFile),
        platform::JoinPath(userData, {kSustainExtrasFile}),
    };
    list.insert(list.end(), std::make_move_iterator(custom.begin()), std::make_move_iterator(custom.end()));
    return list;
}

}  // namespace kxt::paths
