#include "xml/process_parser.h"

#include <optional>
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

// Reports what the process reader skips or defaults; does nothing unless a
// sink is installed.
class ProcessFindings {
public:
    explicit ProcessFindings(const Document& document) : document_(document), on_(diag::CurrentSink() != nullptr) {
        if (on_) diag::CurrentSink()->BeginPass(document.Origin());
    }

    // The number of attribute (what: its role) at element; the unscanned value when it does not scan.
    double Number(const Node& element, const Attribute& attribute, const char* what, const kxtMaterialBase& material) const {
        if (!on_) return ScannedNumberOr(attribute, kUnscanned);
        const std::optional<double> value = ScannedNumber(attribute);
        if (!value) {
            Report(element, "number-unreadable",
                   diag::Text(what) + u" " + diag::Quote(attribute.Text()) +
                       diag::Text(" reads as no number; it is 2147483647"),
                   &material);
        }
        return value.value_or(kUnscanned);
    }

    void UnknownProcess(const Node& parameter, const std::u16string& name, const kxtMaterialBase& material) const {
        if (!on_) return;
        Report(parameter, "unknown-process",
               diag::Text("the process name map does not know ") + diag::Quote(name) +
                   diag::Text("; the parameter is skipped"),
               &material);
    }

    // A material key that names no material of this pass's database stands
    // only when no pass over the file finds its material.
    void UnknownMaterial(const Node& group, const std::u16string& key) const {
        if (!on_) return;
        diag::Finding finding;
        finding.code = "unknown-process";
        finding.message = diag::Text("the material entry ") + diag::Quote(key) +
                          diag::Text(" names no loaded material; its settings are skipped");
        finding.material = key;
        document_.Report(group, std::move(finding), true);
    }

private:
    void Report(const Node& element, const char* code, std::u16string message, const kxtMaterialBase* material) const {
        diag::Finding finding;
        finding.code = code;
        finding.message = std::move(message);
        if (material != nullptr) {
            if (const kxtMaterialClass* group = material->GetGrOwner()) finding.className = group->GetName();
            finding.material = material->GetName();
        }
        document_.Report(element, std::move(finding));
    }

    const Document& document_;
    bool on_;
};

// The number in the first attribute of the node's first child.
double FirstChildNumber(const Node& parameter, const ProcessFindings& findings, const kxtMaterialBase& material) {
    return findings.Number(parameter, parameter.FirstChild().FirstAttribute(), "the energy parameter", material);
}

// Applies a recycled-content parameter; false when it has no child node.
bool ApplyRecycledContent(const Node& parameter, kxtMaterialBase& material, const ProcessFindings& findings) {
    const Node valueNode = parameter.FirstChild();
    if (!valueNode) return false;
    const double value = findings.Number(parameter, valueNode.FirstAttribute(), "the recycled content", material);
    const Attribute maxAttribute = parameter.GetAttribute("MaxValue");
    const Attribute minAttribute = parameter.GetAttribute("MinValue");
    double maximum = value;
    double minimum = value;
    bool editable = false;
    if (maxAttribute && minAttribute) {
        maximum = findings.Number(parameter, maxAttribute, "MaxValue", material);
        minimum = findings.Number(parameter, minAttribute, "MinValue", material);
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
    const ProcessFindings findings(LoadedDocument());
    for (const Node scenarioSettings : DocumentNode().Select(Queries().scenarioSettings)) {
        const Node settings = FindMaterialSettings(scenarioSettings);
        if (!settings) return 0;
        for (const Node category : settings.Select(Queries().groupings)) {
            for (const Node materialGroup : category.Select(Queries().groupings)) {
                materialGroup.GetAttribute("Alias").TextInto(alias);
                kxtMaterialBase* material = materials.Find(alias);
                if (material == nullptr) {
                    findings.UnknownMaterial(materialGroup, alias);
                    continue;
                }

                for (const Node parameter : materialGroup.Select(Queries().parameters)) {
                    parameter.GetAttribute("Name").TextInto(name);
                    const std::u16string* langName = processNames_.Find(name);
                    const bool isRecycledContent = platform::EqualsNoCase(name, kRecycledContent);
                    if (!isRecycledContent && (langName == nullptr || langName->empty())) {
                        findings.UnknownProcess(parameter, name, *material);
                        continue;
                    }

                    const Attribute aliasAttribute = parameter.GetAttribute("Alias");
                    if (!isRecycledContent) {
                        kxtManufacturingProcess process;
                        process.SetNativeName(aliasAttribute.Text());
                        process.SetLangName(*langName);
                        process.SetGaBiName(name);
                        material->InsertProc(std::move(process));
                    }
                    if (aliasAttribute.TextEqualsNoCase(kRecycledContent) &&
                        !ApplyRecycledContent(parameter, *material, findings))
                        return 0;
                }

                for (const Node energyGroup : materialGroup.Select(Queries().groupings)) {
                    energyGroup.GetAttribute("Alias").TextInto(alias);
                    const kxtManufacturingProcess* process = FindEnergyParamsProcess(*material, alias);
                    if (process == nullptr) continue;
                    // A parameter without a child node reads as the unscanned value.
                    numbers.clear();
                    for (const Node parameter : energyGroup.Select(Queries().parameters)) {
                        numbers.push_back(FirstChildNumber(parameter, findings, *material));
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
