// Reads the DIN mapping file (one "DIN-identifier standard-identifier" pair
// per line) and copies the environmental data of each standard material to
// its DIN partner.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include <kxtmat/kxtmat.h>

namespace kxt::model {
class MaterialIndex;
}

namespace kxt::mapping {

class kxtDINMapper {
public:
    // Neither database is owned; both must outlive the mapper.
    kxtDINMapper(kxtMaterialDB* nativeDb, kxtMaterialDB* dinDb) noexcept : nativeDb_(nativeDb), dinDb_(dinDb) {}
    virtual ~kxtDINMapper() = default;

    // Adds the pairs of the file at `path`, read as ANSI text in chunks of
    // 4095 bytes; a missing or unreadable file adds nothing. While a
    // diagnostics sink is installed, a missing file is reported and each
    // pair's line is kept for MapDINMaterials to report.
    void LoadFile(const std::u16string& path);

    // Adds one pair: the key is the line's first space-delimited word, the
    // value everything from index (key length + 1) to the end. An existing
    // key keeps its first value.
    void ParseLine(std::u16string_view line);

    // Copies GaBi name, environmental data, processes, energy parameters,
    // native class name and recycled content from each mapped standard
    // material to its DIN material. While a sink is installed, reports each
    // line of the file whose DIN material or standard partner is missing.
    void MapDINMaterials();

    // The pairs read so far (DIN identifier -> standard identifier).
    const std::map<std::u16string, std::u16string, std::less<>>& Mapping() const noexcept { return mapping_; }

private:
    // Where a pair stands in the file, for the findings.
    struct Place {
        std::uint32_t line;
        std::uint32_t keyColumn;
        std::uint32_t valueColumn;
    };
    // Reports each line whose DIN material or partner (asked of partners) is missing.
    void ReportUnmatchedLines(const model::MaterialIndex& partners) const;
    void ReportUnmatched(const std::u16string& key, const std::u16string& value, bool dinFound) const;

    std::map<std::u16string, std::u16string, std::less<>> mapping_;
    std::u16string path_;                                 // kept only while a sink is installed
    std::map<std::u16string, Place, std::less<>> places_;  // the same
    std::uint32_t line_ = 0;                               // the line ParseLine is given
    kxtMaterialDB* nativeDb_;
    kxtMaterialDB* dinDb_;
};

}  // namespace kxt::mapping
