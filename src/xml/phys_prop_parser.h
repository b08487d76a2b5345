// The reader of material library files (".kvxmat"): classes, materials,
// physical properties and cost data, and the secondary passes that apply a
// library of the same structure to a database read before.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/material_index.h"
#include "xml/xml_parser_base.h"

class kxtMaterialDB;

namespace kxt::xml {

class kxtXMLPhysPropParser : public kxtXMLParserBase {
public:
    // Loads the library file at path (an empty document when it is missing or malformed).
    explicit kxtXMLPhysPropParser(const std::u16string& path) : kxtXMLParserBase(path) {}
    // Reads a library loaded before (see kxtXMLParserBase::ReadDocument).
    explicit kxtXMLPhysPropParser(std::shared_ptr<const Document> document) : kxtXMLParserBase(std::move(document)) {}

    // Appends one class per "classification" element, in document order, with
    // one material per "material" child. What a material gets depends on the
    // target's database type, which the caller sets first. Never empties the
    // target. Returns 1; 0 for a null target.
    int Parse(kxtMaterialDB* target) override;

    // Stores the file's class, material and property names as language names
    // on the target's materials, matched by position (the i-th class element
    // to the i-th class, the j-th material element to its j-th material).
    // Returns 1; 0 for a null target.
    int ParseLanguageNames(kxtMaterialDB* target);

    // Links each material of target, matched by position, to the material
    // that its "sustainability" element names in the first fitting database
    // of `databases` (searched in list order); a material with negative
    // recycled amount takes the linked one's, confined to its own limits.
    // Returns 1; 0 for a null target.
    int ParseSustainabilityLinks(kxtMaterialDB* target, const std::vector<kxtMaterialDB*>& databases);

    // Parse, then ParseSustainabilityLinks against databases: one walk of the
    // document when target starts empty and is not one of the databases.
    int ParseWithLinks(kxtMaterialDB* target, const std::vector<kxtMaterialDB*>& databases);

    // For each class element of the file, removes from target the first class
    // whose name equals the element's name without regard to case. Returns 1;
    // 0 for a null target.
    int RemoveListedClasses(kxtMaterialDB* target);
};

// The index by which links into a sustainability extras database are
// resolved, and the material of it that a link identifier names: the text
// before " in Sustainability Extras" (the whole identifier when that is
// empty), matched to a name, else to a language name, without regard to case.
model::MaterialIndex ExtrasLinkIndex(const kxtMaterialDB& extras);
kxtMaterialBase* FindExtrasLink(const model::MaterialIndex& index, std::u16string_view linkId);

// The name under which the environmental data set knows a material: a name of
// 31 characters or more loses its double spaces (one left-to-right pass) and
// is cut to its first and last 15 characters; a shorter name stays whole.
std::u16string ShortenedGabiName(const std::u16string& name);

}  // namespace kxt::xml
