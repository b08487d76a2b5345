// summary, list, sustainable: the databases, their classes and materials.
#include "cli_error.h"
#include "commands.h"
#include "describe.h"
#include "lookup.h"

namespace kxt::cli {
namespace {

Json DescribeClassWithMaterials(const kxtMaterialClass& group) {
    Json materials = Json::array();
    ForEachMaterial(group, [&](const kxtMaterialBase& material) {
        materials.push_back(
            {{"name", material.GetName()}, {"language_name", material.GetLangName()}, {"id", material.GetMaterialID()}});
    });
    Json described = DescribeClass(group);
    described["materials"] = std::move(materials);
    return described;
}

}  // namespace

Result RunSummary(Context& context, const CommandArgs&) {
    kxtMaterialDBsManager& manager = context.manager;
    Json databases = Json::array();
    for (int i = 0; i < manager.GetDatabaseCount(); ++i)
        if (const kxtMaterialDB* db = manager.GetDB(i)) databases.push_back(DescribeDatabase(*db, i));
    Json favourites = Json::array();
    for (const kxtMaterialBase* favourite : manager.GetFavoritesMaterials())
        if (favourite != nullptr) favourites.push_back(DescribeReference(*favourite));
    return {{{"databases", std::move(databases)}, {"favourites", std::move(favourites)}}, {}};
}

Result RunList(Context& context, const CommandArgs& args) {
    const std::u16string* library = args.Find("--library");
    const std::u16string* className = args.Find("--class");
    const std::vector<kxtMaterialDB*> selected = Databases(context.manager, library);
    if (selected.empty() && library != nullptr) return {Json(), "no library named " + Quoted(*library)};
    Json databases = Json::array();
    bool anyClass = false;
    for (kxtMaterialDB* db : selected) {
        Json classes = Json::array();
        if (className != nullptr) {
            if (const kxtMaterialClass* group = db->FindMaterialGroup(*className))
                classes.push_back(DescribeClassWithMaterials(*group));
        } else {
            ForEachClass(*db, [&](const kxtMaterialClass& group) { classes.push_back(DescribeClassWithMaterials(group)); });
        }
        anyClass = anyClass || !classes.empty();
        databases.push_back(
            {{"library", db->GetDbName()}, {"type", DatabaseTypeName(db->GetDBType())}, {"classes", std::move(classes)}});
    }
    if (!anyClass && className != nullptr) return {Json(), "no class named " + Quoted(*className)};
    return {{{"databases", std::move(databases)}}, {}};
}

Result RunSustainable(Context& context, const CommandArgs&) {
    std::vector<kxtMaterialClass*> sustainableClasses;
    context.manager.GetSustainableClasses(sustainableClasses);
    std::vector<kxtMaterialBase*> sustainableMaterials;
    context.manager.GetSustainableMaterials(sustainableMaterials);

    Json classes = Json::array();
    for (const kxtMaterialClass* group : sustainableClasses) {
        if (group == nullptr) continue;
        const kxtMaterialDB* db = group->GetDbOwner();
        Json described = DescribeClass(*group);
        described["library"] = db != nullptr ? db->GetDbName() : std::u16string();
        classes.push_back(std::move(described));
    }
    Json materials = Json::array();
    for (const kxtMaterialBase* material : sustainableMaterials) {
        if (material == nullptr) continue;
        Json described = DescribeReference(*material);
        described["link"] = DescribeReferenceOrNull(material->GetSageLink());
        materials.push_back(std::move(described));
    }
    return {{{"classes", std::move(classes)}, {"materials", std::move(materials)}}, {}};
}

}  // namespace kxt::cli
