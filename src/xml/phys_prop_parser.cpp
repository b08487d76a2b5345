#include "xml/phys_prop_parser.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "model/material_index.h"
#include "model/shared_defaults.h"
#include "platform/text.h"
#include "xml/library_findings.h"
#include "xml/number_text.h"
#include "xml/reader_queries.h"

namespace kxt::xml {
namespace {

constexpr std::size_t kGabiNameLimit = 30;
constexpr std::size_t kGabiNameHalf = 15;
constexpr std::u16string_view kFinancialImpact = u"Financial Impact";
constexpr std::u16string_view kExtrasDbName = u"Sustainability Extras";
constexpr std::u16string_view kExtrasMarker = u"in Sustainability Extras";

bool IsEnvData(const Attribute& value) { return value.TextEqualsNoCase(u"1") || value.TextEqualsNoCase(u"true"); }

// Fills the fields that depend on the database type. The type is set first,
// since it decides whether the language names are stored.
void ApplyDatabaseTypeRules(eKxtMaterialBDType dbType, const std::u16string& className, kxtMaterialBase& material) {
    const auto setLanguageNames = [&] {
        material.SetLangName(material.GetName());
        material.SetLangCLassName(className);
    };
    switch (dbType) {
        case eKxtNativeDB:
            material.SetMaterialType(static_cast<eKxtMaterialType>(0));
            material.SetGaBiName(ShortenedGabiName(material.GetName()));
            material.SetNativeClassName(className);
            setLanguageNames();
            break;
        case eKxtNativeDinDB:
            material.SetMaterialType(static_cast<eKxtMaterialType>(1));
            setLanguageNames();
            break;
        case eKxtCustomDB:
            material.SetMaterialType(static_cast<eKxtMaterialType>(2));
            material.SetMaterialID(std::u16string());
            material.SetEnvData(0);
            break;
        case eKxtSustainExtrasDB:
            material.SetMaterialType(static_cast<eKxtMaterialType>(2));
            material.SetMaterialID(std::u16string());
            material.SetEnvData(1);
            material.SetGaBiName(ShortenedGabiName(material.GetName()));
            material.SetNativeClassName(className);
            setLanguageNames();
            break;
        default:
            break;
    }
}

// The property elements of one material (those with a display name) and
// their display name and value, listed once so that the record's list is
// sized exactly without a second walk; room reused from material to material.
struct PropertyElements {
    std::vector<Node> elements;
    std::vector<std::pair<Attribute, Attribute>> displayNameAndValue;
};

// Calls visit(element, displayName, hint) for each property element of a
// material: a child of its "physicalproperties" elements that has a display
// name. hint stands after the display name, for the attributes that follow it.
template <class Visit>
void ForEachPropertyElement(const Node& materialElement, Visit&& visit) {
    for (const Node element : materialElement.Select(Queries().propertyElements)) {
        Attribute hint;
        const Attribute displayName = element.GetAttribute("displayname", hint);
        if (displayName) visit(element, displayName, hint);
    }
}

void ReadProperties(const Node& materialElement, kxtMaterialBase& material, PropertyElements& found,
                    LibraryFindings* findings) {
    found.elements.clear();
    found.displayNameAndValue.clear();
    ForEachPropertyElement(materialElement, [&](const Node& element, const Attribute& displayName, Attribute& hint) {
        found.elements.push_back(element);
        found.displayNameAndValue.emplace_back(displayName, element.GetAttribute("value", hint));
    });
    material.ReserveProperties(found.elements.size());
    for (std::size_t i = 0; i < found.elements.size(); ++i) {
        const auto& [displayName, value] = found.displayNameAndValue[i];
        material.SetProperty(found.elements[i].Name(), kxtMatPhysProp(displayName.Text(), LeadingNumberOrZero(value)));
    }
    if (findings != nullptr) findings->Properties(found.elements, material);
}

// The cost and unit texts of the first "Financial Impact" child of the
// material's "custom" element; two empty texts when there is none.
void ReadCostData(const Node& materialElement, kxtMaterialBase& material, LibraryFindings* findings) {
    std::u16string cost;
    std::u16string units;
    Node costElement = materialElement;
    if (const Node custom = materialElement.Select(Queries().custom).First()) {
        for (const Node child : custom.ChildWalk()) {
            Attribute hint;
            if (child.GetAttribute("name", hint).TextEqualsNoCase(kFinancialImpact)) {
                cost = child.GetAttribute("value", hint).Text();
                units = child.GetAttribute("units", hint).Text();
                costElement = child;
                break;
            }
        }
    }
    material.SetMaterialCostData(cost, units);
    if (findings != nullptr) findings->Cost(costElement, cost, units, material);
}

// Visits the target's materials by position: class element i stands for
// class i, material element j of it for material j of that class. Elements
// beyond the target's classes or materials are skipped.
template <class PerClass, class PerMaterial>
void WalkByPosition(const Node& document, kxtMaterialDB& target, PerClass&& perClass, PerMaterial&& perMaterial) {
    const std::uint64_t classCount = target.GetGroupCount();
    std::uint64_t i = 0;
    for (const Node classElement : document.Select(Queries().classifications)) {
        if (i == classCount) break;
        kxtMaterialClass* group = target.GetMaterialClass(static_cast<int>(i++));
        if (group == nullptr) continue;
        perClass(classElement);
        const std::uint64_t materialCount = group->GetMaterialCount();
        std::uint64_t j = 0;
        for (const Node materialElement : classElement.Select(Queries().materials)) {
            if (j == materialCount) break;
            if (kxtMaterialBase* material = group->GetMaterial(static_cast<unsigned>(j++))) {
                perMaterial(materialElement, *material);
            }
        }
    }
}

// The name that a link into a sustainability extras library looks for: the
// text before " in Sustainability Extras" when that is not empty, else the
// whole link identifier.
std::u16string_view ExtrasLinkKey(std::u16string_view linkId) {
    const std::size_t marker = linkId.find(kExtrasMarker);
    if (marker == std::u16string_view::npos) return linkId;
    const std::u16string_view before = platform::TrimEnd(linkId.substr(0, marker));
    return before.empty() ? linkId : before;
}

// A database of the link search with its short name. Links by identifier
// are answered by the database's own lookup, whose index outlives the
// reading while the database is unchanged (a custom change links into the
// standard databases every time); links into an extras library by an index
// of this search, built on first use.
struct LinkCandidate {
    kxtMaterialDB* db;
    std::u16string name;
    bool isExtras;
    std::optional<model::MaterialIndex> index;

    kxtMaterialBase* Find(const std::u16string& linkId) {
        if (!isExtras) {
            kxtMaterialBase* found = nullptr;
            db->GetMaterialByID(linkId, found);
            return found;
        }
        if (!index) index = ExtrasLinkIndex(*db);
        return FindExtrasLink(*index, linkId);
    }
};

// Resolves the "sustainability" element of material elements against the
// databases of the link search, building each database's index on first use.
class LinkResolver {
public:
    LinkResolver(const std::vector<kxtMaterialDB*>& databases, LibraryFindings* findings) : findings_(findings) {
        candidates_.reserve(databases.size());
        for (kxtMaterialDB* db : databases) {
            if (db == nullptr) continue;
            std::u16string name = db->GetDbName();
            const bool isExtras = platform::EqualsNoCase(name, kExtrasDbName);
            candidates_.push_back(LinkCandidate{db, std::move(name), isExtras, std::nullopt});
        }
    }

    void Link(const Node& materialElement, kxtMaterialBase& material) {
        const Node link = materialElement.Select(Queries().sustainability).First();
        if (!link) {
            material.SetSageLink(nullptr);
            return;
        }
        Attribute hint;
        link.GetAttribute("linkId", hint).TextInto(linkId_);
        link.GetAttribute("dbName", hint).TextInto(dbName_);
        if (linkId_.empty() || dbName_.empty()) return;

        kxtMaterialBase* linked = nullptr;
        bool databaseKnown = false;
        for (LinkCandidate& candidate : candidates_) {
            if (!platform::EqualsNoCase(candidate.name, dbName_)) continue;
            databaseKnown = true;
            linked = candidate.Find(linkId_);
            if (linked != nullptr) break;
        }
        material.SetSageLink(linked);
        if (linked == nullptr && findings_ != nullptr)
            findings_->UnresolvedLink(link, linkId_, dbName_, databaseKnown, material);
        if (linked != nullptr && material.GetRecycledContentAmount() < 0) {
            material.SetRecycledContentAmount(linked->GetRecycledContentAmount());
        }
    }

private:
    std::vector<LinkCandidate> candidates_;
    LibraryFindings* findings_;
    // The texts of the current link, their room reused from material to material.
    std::u16string linkId_;
    std::u16string dbName_;
};

// The findings of a reading of document; none unless a sink is installed.
std::optional<LibraryFindings> FindingsFor(const Document& document) {
    if (diag::CurrentSink() == nullptr) return std::nullopt;
    return std::optional<LibraryFindings>(std::in_place, document);
}

// Appends one class per class element and one material per material element
// to target; then(materialElement, material) runs for each material once it
// has its place (records never move after that).
template <class Then>
void ReadRecords(const Node& document, kxtMaterialDB& target, LibraryFindings* findings, Then&& then) {
    const eKxtMaterialBDType dbType = target.GetDBType();
    PropertyElements properties;
    for (const Node classElement : document.Select(Queries().classifications)) {
        kxtMaterialClass group(&target);
        group.SetName(classElement.AttributeText("name"));
        for (const Node materialElement : classElement.Select(Queries().materials)) {
            kxtMaterialBase material(&group);
            Attribute hint;
            material.SetName(materialElement.GetAttribute("name", hint).Text());
            material.SetMaterialID(materialElement.GetAttribute("matid", hint).Text());
            material.SetEnvData(IsEnvData(materialElement.GetAttribute("envdata", hint)) ? 1 : 0);
            ApplyDatabaseTypeRules(dbType, group.GetName(), material);
            if (findings != nullptr) findings->Material(materialElement, material);
            ReadProperties(materialElement, material, properties, findings);
            ReadCostData(materialElement, material, findings);
            group.InsertMaterial(std::move(material));
            then(materialElement, *group.GetMaterial(static_cast<unsigned>(group.GetMaterialCount() - 1)));
        }
        target.InsertGroup(std::move(group));
    }
}

}  // namespace

model::MaterialIndex ExtrasLinkIndex(const kxtMaterialDB& extras) {
    return model::BuildIndex(extras, model::MaterialKeys::kNameThenLangName);
}

kxtMaterialBase* FindExtrasLink(const model::MaterialIndex& index, std::u16string_view linkId) {
    return index.Find(ExtrasLinkKey(linkId));
}

std::u16string ShortenedGabiName(const std::u16string& name) {
    if (name.size() <= kGabiNameLimit) return name;
    std::u16string squeezed;
    squeezed.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        squeezed.push_back(name[i]);
        if (name[i] == u' ' && i + 1 < name.size() && name[i + 1] == u' ') ++i;
    }
    const std::size_t half = std::min(kGabiNameHalf, squeezed.size());
    return squeezed.substr(0, half) + squeezed.substr(squeezed.size() - half);
}

int kxtXMLPhysPropParser::Parse(kxtMaterialDB* target) {
    if (target == nullptr) return 0;
    std::optional<LibraryFindings> findings = FindingsFor(LoadedDocument());
    ReadRecords(DocumentNode(), *target, findings ? &*findings : nullptr, [](const Node&, kxtMaterialBase&) {});
    return 1;
}

int kxtXMLPhysPropParser::ParseWithLinks(kxtMaterialDB* target, const std::vector<kxtMaterialDB*>& databases) {
    if (target == nullptr) return 0;
    // Element (i, j) is material (i, j) only while the reading starts from an
    // empty database, and links into target itself need all its records first.
    const bool oneWalk = target->GetGroupCount() == 0 &&
                         std::find(databases.begin(), databases.end(), target) == databases.end();
    if (!oneWalk) {
        Parse(target);
        return ParseSustainabilityLinks(target, databases);
    }
    std::optional<LibraryFindings> findings = FindingsFor(LoadedDocument());
    LibraryFindings* const reported = findings ? &*findings : nullptr;
    LinkResolver resolver(databases, reported);
    ReadRecords(DocumentNode(), *target, reported,
                [&](const Node& materialElement, kxtMaterialBase& material) { resolver.Link(materialElement, material); });
    return 1;
}

int kxtXMLPhysPropParser::ParseLanguageNames(kxtMaterialDB* target) {
    if (target == nullptr) return 0;
    std::u16string langClassName;
    WalkByPosition(
        DocumentNode(), *target, [&](const Node& classElement) { langClassName = classElement.AttributeText("name"); },
        [&](const Node& materialElement, kxtMaterialBase& material) {
            material.SetLangName(materialElement.AttributeText("name"));
            material.SetLangCLassName(langClassName);
            ForEachPropertyElement(materialElement, [&](const Node& element, const Attribute& displayName, Attribute&) {
                kxtMatPhysProp& stored = material.GetProperty(element.Name());
                // A failed lookup answers the shared default, which must stay untouched.
                if (&stored != &model::SharedDefaultProperty()) stored.SetLangPropName(displayName.Text());
            });
        });
    return 1;
}

int kxtXMLPhysPropParser::ParseSustainabilityLinks(kxtMaterialDB* target,
                                                   const std::vector<kxtMaterialDB*>& databases) {
    if (target == nullptr) return 0;
    std::optional<LibraryFindings> findings = FindingsFor(LoadedDocument());
    LinkResolver resolver(databases, findings ? &*findings : nullptr);
    WalkByPosition(DocumentNode(), *target, [](const Node&) {},
                   [&](const Node& materialElement, kxtMaterialBase& material) { resolver.Link(materialElement, material); });
    return 1;
}

int kxtXMLPhysPropParser::RemoveListedClasses(kxtMaterialDB* target) {
    if (target == nullptr) return 0;
    for (const Node classElement : DocumentNode().Select(Queries().classifications)) {
        const std::u16string name = classElement.AttributeText("name");
        const std::uint64_t count = target->GetGroupCount();
        for (std::uint64_t i = 0; i < count; ++i) {
            const kxtMaterialClass* group = target->GetMaterialClass(static_cast<int>(i));
            if (group != nullptr && platform::EqualsNoCase(group->GetName(), name)) {
                target->EraseMaterialGroup(static_cast<unsigned>(i));
                break;
            }
        }
    }
    return 1;
}

}  // namespace kxt::xml
