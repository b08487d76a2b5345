// summary, list, sustainable: the databases, their classes and materials.
#include "cli_error.h"
#include "commands.h"
#include "describe.h"
#include "lookup.h"

namespace kxt::cli {
namespace {

Node DescribeClassWithMaterials(const kxtMaterialClass& group) {
    Node materials = Node::Array();
    ForEachMaterial(group, [&](const kxtMaterialBase& material) {
        materials.Append(Node::Object()
                             .Set("name", material.GetName())
                             .Set("language_name", material.GetLangName())
                             .Set("id", material.GetMaterialID()));
    });
    return DescribeClass(group).Set("materials", std::move(materials));
}

}  // namespace

Result RunSummary(Context& context, const CommandArgs&) {
    kxtMaterialDBsManager& manager = context.manager;
    Node databases = Node::Array();
    for (int i = 0; i < manager.GetDatabaseCount(); ++i)
        if (const kxtMaterialDB* db = manager.GetDB(i)) databases.Append(DescribeDatabase(*db, i));
    Node favourites = Node::Array();
    for (const kxtMaterialBase* favourite : manager.GetFavoritesMaterials())
        if (favourite != nullptr) favourites.Append(DescribeReference(*favourite));
    return {Node::Object().Set("databases", std::move(databases)).Set("favourites", std::move(favourites)), {}};
}

Result RunList(Context& context, const CommandArgs& args) {
    const std::u16string* library = args.Find("--library");
    const std::u16string* className = args.Find("--class");
    const std::vector<kxtMaterialDB*> selected = Databases(context.manager, library);
    if (selected.empty() && library != nullptr) return {Node(), "no library named " + Quoted(*library)};
    Node databases = Node::Array();
    bool anyClass = false;
    for (kxtMaterialDB* db : selected) {
        Node classes = Node::Array();
        if (className != nullptr) {
            if (const kxtMaterialClass* group = db->FindMaterialGroup(*className))
                classes.Append(DescribeClassWithMaterials(*group));
        } else {
            ForEachClass(*db, [&](const kxtMaterialClass& group) { classes.Append(DescribeClassWithMaterials(group)); });
        }
        anyClass = anyClass || !classes.Items().empty();
        databases.Append(Node::Object()
                             .Set("library", db->GetDbName())
                             .Set("type", DatabaseTypeName(db->GetDBType()))
                             .Set("classes", std::move(classes)));
    }
    if (!anyClass && className != nullptr) return {Node(), "no class named " + Quoted(*className)};
    return {Node::Object().Set("databases", std::move(databases)), {}};
}

Result RunSustainable(Context& context, const CommandArgs&) {
    std::vector<kxtMaterialClass*> sustainableClasses;
    context.manager.GetSustainableClasses(sustainableClasses);
    std::vector<kxtMaterialBase*> sustainableMaterials;
    context.manager.GetSustainableMaterials(sustainableMaterials);

    Node classes = Node::Array();
    for (const kxtMaterialClass* group : sustainableClasses) {
        if (group == nullptr) continue;
        const kxtMaterialDB* db = group->GetDbOwner();
        classes.Append(DescribeClass(*group).Set("library", db != nullptr ? db->GetDbName() : std::u16string()));
    }
    Node materials = Node::Array();
    for (const kxtMaterialBase* material : sustainableMaterials) {
        if (material == nullptr) continue;
        const kxtMaterialBase* link = material->GetSageLink();
        materials.Append(DescribeReference(*material).Set("link", link != nullptr ? DescribeReference(*link) : Node()));
    }
    return {Node::Object().Set("classes", std::move(classes)).Set("materials", std::move(materials)), {}};
}

}  // namespace kxt::cli
