// show, find, supported: one material across the databases.
#include "cli_error.h"
#include "commands.h"
#include "describe.h"
#include "lookup.h"

namespace kxt::cli {
namespace {

std::string NoMaterialMessage(const std::u16string& name, const std::u16string* library) {
    std::string message = "no material named " + Quoted(name);
    if (library != nullptr) message += " in library " + Quoted(*library);
    return message;
}

// The vocabulary under which name matched the material.
const char* MatchedVocabulary(const kxtMaterialBase& material, const std::u16string& name) {
    if (platform::EqualsNoCase(material.GetName(), name)) return "native";
    if (platform::EqualsNoCase(material.GetLangName(), name)) return "language";
    return "gabi";
}

}  // namespace

Result RunShow(Context& context, const CommandArgs& args) {
    const std::u16string& name = args.positionals[0];
    const std::u16string* library = args.Find("--library");
    const kxtMaterialBase* material = FindMaterial(context.manager, name, library);
    if (material == nullptr) return {Json(), NoMaterialMessage(name, library)};
    return {DescribeMaterial(*material), {}};
}

Result RunFind(Context& context, const CommandArgs& args) {
    const std::u16string& name = args.positionals[0];
    const std::u16string* library = args.Find("--library");
    Json matches = Json::array();
    for (const kxtMaterialDB* db : Databases(context.manager, library)) {
        kxtMaterialBase* material = nullptr;
        if (db->GetMaterialByName(name, material, 0) == 0 && db->GetMaterialByName(name, material, 1) == 0) continue;
        const kxtMaterialClass* group = material->GetGrOwner();
        matches.push_back({{"library", db->GetDbName()},
                           {"database_type", DatabaseTypeName(db->GetDBType())},
                           {"class", group != nullptr ? DescribeClass(*group) : Json()},
                           {"material", material->GetName()},
                           {"matched", MatchedVocabulary(*material, name)}});
    }
    if (matches.empty()) return {Json(), NoMaterialMessage(name, library)};
    return {{{"name", name}, {"matches", std::move(matches)}}, {}};
}

Result RunSupported(Context& context, const CommandArgs& args) {
    const std::u16string& name = args.positionals[0];
    const std::u16string& library = args.positionals[1];
    const bool supported = context.manager.IsMaterialsSupported(name, library, nullptr);
    Result result{{{"material", name}, {"library", library}, {"supported", supported}}, {}};
    if (!supported) result.notFound = Quoted(name) + " of library " + Quoted(library) + " is not supported";
    return result;
}

}  // namespace kxt::cli
