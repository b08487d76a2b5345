#include "fuzz/entry_points.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "diag/findings.h"
#include "fuzz/manager_setup.h"
#include "mapping/din_mapper.h"
#include "platform/reg_file.h"
#include "platform/text.h"
#include "support/resource_module.h"
#include "support/temp_dir.h"
#include "xml/phys_prop_parser.h"
#include "xml/process_parser.h"

namespace kxt::fuzz {
namespace {

std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The folder where inputs are written for the readers that take a path.
const test::TempDir& Scratch() {
    static const test::TempDir dir;
    return dir;
}

std::u16string WriteInput(std::string_view name, std::string_view bytes) {
    Scratch().Write(name, bytes);
    return Scratch().File(name);
}

std::u16string SamplePath(std::string_view relative) {
    return platform::Utf8ToUtf16(std::string(KXTMAT_SOURCE_DIR "/data/sample/") + std::string(relative));
}

kxtMaterialDB ReadSample(std::string_view relative, eKxtMaterialBDType type) {
    kxtMaterialDB db;
    db.SetDBType(type);
    const std::u16string path = SamplePath(relative);
    xml::kxtXMLPhysPropParser(path).Parse(&db);
    db.SetPath(path);
    return db;
}

// The sample standard, DIN and extras libraries, read once per process.
const kxtMaterialDB& SampleNative() {
    static const kxtMaterialDB db = ReadSample("lang/english/kvxmaterials/Korvex Materials.kvxmat", eKxtNativeDB);
    return db;
}
const kxtMaterialDB& SampleDin() {
    static const kxtMaterialDB db =
        ReadSample("lang/english/kvxmaterials/Korvex din Materials.kvxmat", eKxtNativeDinDB);
    return db;
}
kxtMaterialDB& SampleExtras() {
    static kxtMaterialDB db =
        ReadSample("lang/english/kvxmaterials/Sustainability Extras.kvxmat", eKxtSustainExtrasDB);
    return db;
}

// Checks each finding's place and drops it.
class CheckingSink final : public diag::Sink {
public:
    void Report(diag::Finding finding) override {
        Require(finding.line != 0 || finding.column == 0, "a finding with a column but no line");
        Require(!finding.code.empty(), "a finding without a code");
    }
};

// Every other input is read with a sink installed, so that the report points run too.
std::optional<diag::ScopedSink> ReportingFor(std::size_t size) {
    static CheckingSink sink;
    if (size % 2 == 0) return std::nullopt;
    return std::optional<diag::ScopedSink>(std::in_place, sink);
}

bool IsMaterialOf(const kxtMaterialBase* material, const std::vector<kxtMaterialDB*>& databases) {
    const kxtMaterialClass* group = material->GetGrOwner();
    if (group == nullptr) return false;
    for (const kxtMaterialDB* db : databases) {
        if (group->GetDbOwner() == db) return true;
    }
    return false;
}

}  // namespace

int FuzzLibraryReader(const std::uint8_t* data, std::size_t size) {
    const std::u16string path = WriteInput("korvex materials.kvxmat", AsText(data, size));
    const auto reporting = ReportingFor(size / 4);
    kxtMaterialDB db;
    db.SetDBType(static_cast<eKxtMaterialBDType>(size % 4));
    db.SetPath(path);
    xml::kxtXMLPhysPropParser reader(path);
    Require(reader.Parse(&db) == 1, "a library read stopped early");
    RequireOwnership(db);

    // The passes as the manager runs them, on the same document: language names
    // from it, links into the extras library and into this database itself.
    const std::uint64_t classes = db.GetGroupCount();
    Require(reader.ParseLanguageNames(&db) == 1, "the language pass stopped early");
    Require(db.GetGroupCount() == classes, "the language pass changed the classes");
    const std::vector<kxtMaterialDB*> linkTargets{&SampleExtras(), &db};
    Require(reader.ParseSustainabilityLinks(&db, linkTargets) == 1, "the link pass stopped early");
    for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) {
        const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
        for (std::uint64_t j = 0; j < group->GetMaterialCount(); ++j) {
            const kxtMaterialBase* link = group->GetMaterial(static_cast<unsigned>(j))->GetSageLink();
            Require(link == nullptr || IsMaterialOf(link, linkTargets), "a link points outside the linked databases");
        }
    }

    const kxtMaterialDB copy(db);
    RequireOwnership(copy);
    Require(copy.GetGroupCount() == db.GetGroupCount(), "a copy lost classes");

    Require(reader.RemoveListedClasses(&db) == 1, "the class removal stopped early");
    Require(db.GetGroupCount() <= classes, "the class removal added classes");
    RequireOwnership(db);
    return 0;
}

int FuzzProcessReader(const std::uint8_t* data, std::size_t size) {
    const std::u16string path = WriteInput("materials process.dat", AsText(data, size));
    const auto reporting = ReportingFor(size);
    kxtMaterialDB db(SampleNative());
    xml::kxtXMLProcessParser reader(path, test::EnglishResourceModule());
    const int result = reader.Parse(&db);
    Require(result == 0 || result == 1, "a process read answered neither 1 nor 0");
    RequireOwnership(db);
    if (result == 1) {
        // The final pass: environmental data says whether a material has processes.
        for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) {
            const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
            for (std::uint64_t j = 0; j < group->GetMaterialCount(); ++j) {
                const kxtMaterialBase* material = group->GetMaterial(static_cast<unsigned>(j));
                Require(material->GetEnvData() == (material->GetManufacturingTypes().empty() ? 0 : 1),
                        "environmental data disagrees with the processes");
            }
        }
    }
    std::map<std::u16string, std::vector<std::u16string>> groups;
    const int collected = reader.CollectGroupsByComment(u"metals", groups);
    Require(collected == 0 || collected == 1, "a group collection answered neither 1 nor 0");
    db.GetAllProcessTypes();
    return 0;
}

int FuzzDinMapping(const std::uint8_t* data, std::size_t size) {
    const std::u16string path = WriteInput("DINMaterialsMapper.txt", AsText(data, size));
    const auto reporting = ReportingFor(size);
    kxtMaterialDB native(SampleNative());
    kxtMaterialDB din(SampleDin());
    mapping::kxtDINMapper mapper(&native, &din);
    mapper.LoadFile(path);
    for (const auto& [key, value] : mapper.Mapping()) {
        Require(key.find(u' ') == std::u16string::npos, "a key holds a space");
        Require(key.find(u'\n') == std::u16string::npos && value.find(u'\n') == std::u16string::npos,
                "a pair holds a line feed");
    }
    mapper.MapDINMaterials();
    RequireOwnership(din);
    Require(din.GetGroupCount() == SampleDin().GetGroupCount(), "the mapping changed the DIN classes");
    return 0;
}

int FuzzCostTexts(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = AsText(data, size);
    const std::size_t split = text.find('\n');
    const std::u16string cost = platform::Utf8ToUtf16(text.substr(0, split));
    const std::u16string units =
        split == std::string_view::npos ? std::u16string() : platform::Utf8ToUtf16(text.substr(split + 1));
    kxtMaterialBase material;
    material.SetMaterialCostData(cost, units);
    kxtMaterialCostData read;
    material.GetMaterialCostData(read);
    const int unit = static_cast<int>(read.massUnits);
    Require(unit >= eKxtMilligram && unit <= eKxtPound, "a mass unit out of range");
    Require(read.defined == material.IsMaterialCostDefined(), "the cost record disagrees with the material");
    if (read.defined) Require(!std::isnan(read.costPerUnitMass), "a defined cost is not a number");

    // The same texts give the same record.
    kxtMaterialBase again;
    again.SetMaterialCostData(cost, units);
    kxtMaterialCostData reread;
    again.GetMaterialCostData(reread);
    Require(reread.defined == read.defined && reread.massUnits == read.massUnits && reread.currency == read.currency &&
                reread.unitString == read.unitString,
            "the same cost texts read differently");
    return 0;
}

int FuzzRegistryFile(const std::uint8_t* data, std::size_t size) {
    const std::string_view content = AsText(data, size);
    for (const std::u16string_view key : {u"Software\\Korvex\\Korvex 2025\\Material", u"Software\\Korvex"}) {
        const auto values = platform::ParseRegFileKey(content, key);
        if (!values) continue;
        for (std::size_t i = 0; i < values->size(); ++i) {
            const platform::RegFileValue& value = (*values)[i];
            // Text takes two bytes a character plus the terminator; hex data one byte per pair of digits.
            Require(value.value.data.size() <= 2 * content.size() + 2, "a value is larger than the file");
            for (std::size_t k = 0; k < i; ++k) {
                Require(!platform::EqualsNoCase((*values)[k].name, value.name), "a value name occurs twice");
            }
        }
    }
    return 0;
}

int FuzzTextConversions(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = AsText(data, size);

    // UTF-8 in: what comes out is valid and survives a round trip unchanged.
    const std::u16string wide = platform::Utf8ToUtf16(bytes);
    Require(platform::Utf8ToUtf16(platform::Utf16ToUtf8(wide)) == wide, "a decoded text does not round-trip");

    // UTF-16 in: the round trip replaces exactly the unpaired surrogates.
    const std::u16string units = platform::Utf16LeToUtf16(bytes);
    std::u16string expected = units;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const char16_t c = expected[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < expected.size() && expected[i + 1] >= 0xDC00 &&
            expected[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            expected[i] = u'\uFFFD';
        }
    }
    Require(platform::Utf8ToUtf16(platform::Utf16ToUtf8(units)) == expected, "an encoded text does not round-trip");

    // Case: lower-casing keeps the length and compares equal without regard to case.
    const std::u16string lower = platform::ToLower(units);
    Require(lower.size() == units.size(), "lower-casing changed the length");
    Require(platform::EqualsNoCase(units, lower) && platform::CompareNoCase(units, lower) == 0,
            "a text differs from its lower case");
    Require(platform::ToLower(lower) == lower, "lower-casing is not idempotent");

    // ANSI: in the C locale and in UTF-8; never more characters than bytes.
    for (const char* locale : {"C", "C.UTF-8"}) {
        if (std::setlocale(LC_CTYPE, locale) == nullptr) continue;
        Require(platform::AnsiToUtf16(bytes).size() <= size, "an ANSI text grew");
    }
    std::setlocale(LC_CTYPE, "C");
    return 0;
}

EntryPoint EntryPointOf(std::string_view target) {
    static constexpr std::pair<std::string_view, EntryPoint> kTargets[] = {
        {"library_reader", FuzzLibraryReader}, {"process_reader", FuzzProcessReader},
        {"din_mapping", FuzzDinMapping},       {"cost_texts", FuzzCostTexts},
        {"registry_file", FuzzRegistryFile},   {"text_conversions", FuzzTextConversions},
        {"update_materials", FuzzUpdateMaterials}, {"manager_sequence", FuzzManagerSequence},
    };
    for (const auto& [name, entry] : kTargets) {
        if (name == target) return entry;
    }
    return nullptr;
}

}  // namespace kxt::fuzz
