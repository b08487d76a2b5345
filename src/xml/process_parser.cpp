#include "xml/process_parser.h"

#include <string_view>
#include <utility>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "model/material_index.h"
#include "platform/text.h"
#include "xml/number_text.h"
#include "xml/reader_queries.h"

namespace kxt::xml {
namespace {

constexpr std::u16string_view kMaterialSettings = u"Material specific settings";
constexpr std::u16string_view kRecycledContent = u"recycled_cont";
constexpr std::u16string_view kEnergyParamsSuffix = u"_mfg_params";
// What a number that does not scan reads as: the largest 32-bit signed integer.
constexpr double kUnscanned = 2147483647.0;

// The first "Grouping" child of a ScenarioSettings block whose Alias is
// "Material specific settings"; an empty handle when there is none.
Node FindMaterialSettings(const Node& scenarioSettings) {
    for (const Node grouping : scenarioSettings.Select(Queries().groupings)) {
        if (grouping.GetAttribute("Alias").TextEqualsNoCase(kMaterialSettings)) return grouping;
    }
    return Node();
}

// The first process whose GaBi name followed by "_mfg_params" equals alias
// without regard to case; null when none does.
const kxtManufacturingProcess* FindEnergyParamsProcess(const kxtMaterialBase& material, std::u16string_view alias) {
    if (!platform::EndsWithNoCase(alias, kEnergyParamsSuffix)) return nullptr;
    const std::u16string_view stem = alias.substr(0, alias.size() - kEnergyParamsSuffix.size());
    for (const kxtManufacturingProcess& process : material.GetManufacturingTypes()) {
        if (platform::EqualsNoCase(process.GetGaBiName(), stem)) return &process;
    }
    return nullptr;
}

// The number in the first attribute of the node's first child.
double FirstChildNumber(const Node& parameter) {
    return ScannedNumberOr(parameter.FirstChild().FirstAttribute(), kUnscanned);
}

// Applies a recycled-content parameter; false when it has no child node.
bool ApplyRecycledContent(const Node& parameter, kxtMaterialBase& material) {
    const Node valueNode = parameter.FirstChild();
    if (!valueNode) return false;
    const double value = ScannedNumberOr(valueNode.FirstAttribute(), kUnscanned);
    const Attribute maxAttribute = parameter.GetAttribute("MaxValue");
    const Attribute minAttribute = parameter.GetAttribute("MinValue");
    double maximum = value;
    double minimum = value;
    bool editable = false;
    if (maxAttribute && minAttribute) {
        maximum = ScannedNumberOr(maxAttribute, kUnscanned);
        minimum = ScannedNumberOr(minAttribute, kUnscanned);
        editable = maximum > minimum;
    }
    material.SetRecycledContentLimits(maximum, minimum, value);
    material.SetIsEditableRecycledContentAmount(editable);
    material.SetRecycledContentAmount(value);
    return true;
}

}  // namespace

int kxtXMLProcessParser::Parse(kxtMaterialDB* target) {
    if (target == nullptr) return 0;
    // Material names do not change while the file is read, so one index
    // answers every material key as a walk of the database would.
    const model::MaterialIndex materials =
        model::BuildIndex(*target, model::MaterialKeys::kGabiNameThenLangName);

    // Texts that are only compared are read into these, reusing their room.
    std::u16string alias;
    std::u16string name;
    std::vector<double> numbers;
    for (const Node scenarioSettings : DocumentNode().Select(Queries().scenarioSettings)) {
        const Node settings = FindMaterialSettings(scenarioSettings);
        if (!settings) return 0;
        for (const Node category : settings.Select(Queries().groupings)) {
            for (const Node materialGroup : category.Select(Queries().groupings)) {
                materialGroup.GetAttribute("Alias").TextInto(alias);
                kxtMaterialBase* material = materials.Find(alias);
                if (material == nullptr) continue;

                for (const Node parameter : materialGroup.Select(Queries().parameters)) {
                    parameter.GetAttribute("Name").TextInto(name);
                    const std::u16string* langName = processNames_.Find(name);
                    const bool isRecycledContent = platform::EqualsNoCase(name, kRecycledContent);
                    if (!isRecycledContent && (langName == nullptr || langName->empty())) continue;

                    const Attribute aliasAttribute = parameter.GetAttribute("Alias");
                    if (!isRecycledContent) {
                        kxtManufacturingProcess process;
                        process.SetNativeName(aliasAttribute.Text());
                        process.SetLangName(*langName);
                        process.SetGaBiName(name);
                        material->InsertProc(std::move(process));
                    }
                    if (aliasAttribute.TextEqualsNoCase(kRecycledContent) && !ApplyRecycledContent(parameter, *material))
                        return 0;
                }

                for (const Node energyGroup : materialGroup.Select(Queries().groupings)) {
                    energyGroup.GetAttribute("Alias").TextInto(alias);
                    const kxtManufacturingProcess* process = FindEnergyParamsProcess(*material, alias);
                    if (process == nullptr) continue;
                    // A parameter without a child node reads as the unscanned value.
                    numbers.clear();
                    for (const Node parameter : energyGroup.Select(Queries().parameters)) {
                        numbers.push_back(FirstChildNumber(parameter));
                    }
                    // A list of exactly the numbers read, without a second walk to count them.
                    material->InsertManufacturingParams(process->GetGaBiName(),
                                                        std::vector<double>(numbers.begin(), numbers.end()));
                }
            }
        }
    }

    ForEachMaterial(*target, [](kxtMaterialBase& material) {
        material.SetEnvData(material.GetProcCount() > 0 ? 1 : 0);
    });
    return 1;
}

int kxtXMLProcessParser::CollectGroupsByComment(const std::u16string& comment,
                                                std::map<std::u16string, std::vector<std::u16string>>& out) {
    for (const Node scenarioSettings : DocumentNode().Select(Queries().scenarioSettings)) {
        const Node settings = FindMaterialSettings(scenarioSettings);
        if (!settings) return 0;
        for (const Node category : settings.Select(Queries().groupings)) {
            if (!category.GetAttribute("Comment").TextEqualsNoCase(comment)) continue;
            std::u16string key = category.AttributeText("Alias");
            std::vector<std::u16string> aliases;
            for (const Node materialGroup : category.Select(Queries().groupings)) {
                aliases.push_back(materialGroup.AttributeText("Alias"));
            }
            out.try_emplace(std::move(key), std::move(aliases));
        }
    }
    return 1;
}

}  // namespace kxt::xml
