#include "xml/library_findings.h"

#include <string>
#include <utility>

#include "model/cost_text.h"
#include "platform/text.h"
#include "xml/number_text.h"

namespace kxt::xml {
namespace {

using diag::Quote;
using diag::Text;

}  // namespace

void LibraryFindings::Report(const Node& element, const char* code, std::u16string message,
                             const kxtMaterialBase& material) const {
    diag::Finding finding;
    finding.code = code;
    finding.message = std::move(message);
    if (const kxtMaterialClass* group = material.GetGrOwner()) finding.className = group->GetName();
    finding.material = material.GetName();
    document_.Report(element, std::move(finding));
}

void LibraryFindings::CheckRepeated(std::unordered_map<std::u16string, Earlier>& seen, std::u16string key,
                                    const char* what, const Node& element, const kxtMaterialBase& material) {
    if (key.empty()) return;
    const auto [it, added] = seen.try_emplace(std::move(key), Earlier{material.GetName(), 0});
    if (added) {
        it->second.line = document_.PositionOf(element).line;
        return;
    }
    Report(element, "duplicate-material",
           Quote(material.GetName()) + Text(" has the ") + Text(what) + Text(" of the earlier material ") +
               Quote(it->second.name) + Text(" (line " + std::to_string(it->second.line) + "); lookups never reach it"),
           material);
}

void LibraryFindings::Material(const Node& element, const kxtMaterialBase& material) {
    CheckRepeated(names_, platform::ToLower(material.GetName()), "name", element, material);
    CheckRepeated(identifiers_, material.GetMaterialID(), "identifier", element, material);
}

void LibraryFindings::Properties(const std::vector<Node>& properties, const kxtMaterialBase& material) {
    std::unordered_map<std::u16string, bool> abbreviations;  // folded, as GetProperty compares them
    for (const Node& property : properties) {
        const std::u16string abbreviation = property.Name();
        if (!abbreviations.try_emplace(platform::ToLower(abbreviation), true).second) {
            Report(property, "duplicate-property",
                   Text("the property ") + Quote(abbreviation) +
                       Text(" occurs twice in this material; lookups find only the first"),
                   material);
        }
        const Attribute value = property.GetAttribute("value");
        if (!LeadingNumber(value)) {
            Report(property, "number-unreadable",
                   Text("the value ") + Quote(value.Text()) + Text(" of ") + Quote(abbreviation) +
                       Text(" reads as no number; it is 0"),
                   material);
        }
    }
}

void LibraryFindings::Cost(const Node& element, const std::u16string& cost, const std::u16string& units,
                           const kxtMaterialBase& material) {
    const model::CostFault fault = model::ReadCostTexts(cost, units).fault;
    if (fault == model::CostFault::kNone) return;
    Report(element, "cost-unreadable",
           Text("the cost ") + Quote(cost) + Text(" with the unit ") + Quote(units) + Text(": ") +
               Text(model::DescribeCostFault(fault)),
           material);
}

void LibraryFindings::UnresolvedLink(const Node& element, const std::u16string& linkId, const std::u16string& dbName,
                                     bool databaseKnown, const kxtMaterialBase& material) {
    const std::u16string why = databaseKnown ? Text("no material of ") + Quote(dbName) + Text(" matches it")
                                             : Text("no database is named ") + Quote(dbName);
    Report(element, "unresolved-link",
           Text("the sustainability link ") + Quote(linkId) + Text(" resolves to no material: ") + why, material);
}

}  // namespace kxt::xml
