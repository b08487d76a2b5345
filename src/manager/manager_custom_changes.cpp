// Changes of the custom libraries between full loads: removed, modified or
// added libraries, and what keeps the manager's pointers valid across them.
#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kxtmat/material_dbs_manager.h"
#include "kxtmat/material_walk.h"
#include "manager/manager_internal.h"
#include "platform/text.h"
#include "xml/phys_prop_parser.h"

namespace kxt::manager {
namespace {

// The first custom database whose path equals path without regard to case.
std::vector<kxtMaterialDB>::iterator FindByPath(std::vector<kxtMaterialDB>& dbs, const std::u16string& path) {
    return std::find_if(dbs.begin(), dbs.end(),
                        [&](const kxtMaterialDB& db) { return platform::EqualsNoCase(db.GetPath(), path); });
}

}  // namespace

std::vector<RecordedLink> ReleaseMaterialsOf(std::initializer_list<const kxtMaterialDB*> leaving,
                                             const kxtMaterialDB* refilled,
                                             std::vector<kxtMaterialBase*>& favourites,
                                             std::vector<kxtMaterialDB>& customDBs) {
    // Each leaving material -> whether it belongs to the refilled database.
    std::unordered_map<const kxtMaterialBase*, bool> doomed;
    for (const kxtMaterialDB* db : leaving) {
        ForEachMaterial(*db, [&](const kxtMaterialBase& material) { doomed.emplace(&material, db == refilled); });
    }
    std::erase_if(favourites, [&](const kxtMaterialBase* favourite) { return doomed.contains(favourite); });

    std::vector<RecordedLink> recorded;
    for (kxtMaterialDB& db : customDBs) {
        if (std::find(leaving.begin(), leaving.end(), &db) != leaving.end()) continue;
        ForEachMaterial(db, [&](kxtMaterialBase& material) {
            const kxtMaterialBase* linked = material.GetSageLink();
            const auto entry = linked != nullptr ? doomed.find(linked) : doomed.end();
            if (entry == doomed.end()) return;
            if (entry->second) recorded.push_back({&material, linked->GetName()});
            material.SetSageLink(nullptr);
        });
    }
    return recorded;
}

void RelinkIntoExtras(const std::vector<RecordedLink>& links, const kxtMaterialDB& extras) {
    if (links.empty()) return;
    const model::MaterialIndex index = xml::ExtrasLinkIndex(extras);
    for (const RecordedLink& link : links) link.material->SetSageLink(xml::FindExtrasLink(index, link.linkedName));
}

}  // namespace kxt::manager

void kxtMaterialDBsManager::OnCustomDBsRemoved(const std::vector<std::u16string>& paths) {
    for (const std::u16string& path : paths) {
        const auto it = kxt::manager::FindByPath(customDBs_, path);
        if (it == customDBs_.end()) continue;
        kxt::manager::ReleaseMaterialsOf({&*it}, nullptr, favorites_, customDBs_);
        // The later databases move up by move assignment, keeping their classes in place.
        customDBs_.erase(it);
    }
    iRebuildDatabaseList();
}

void kxtMaterialDBsManager::OnCustomDBsModified(const std::vector<std::u16string>& paths) {
    const std::vector<kxtMaterialDB*> linkDBs{&nativeDB_, &nativeDinDB_};
    // An added library is a custom one, so the types that the passes below
    // find are the types that the databases have now.
    kxt::manager::SharedDocuments documents;
    for (const std::u16string& path : paths) {
        const auto it = kxt::manager::FindByPath(customDBs_, path);
        if (it != customDBs_.end() && it->GetDBType() == eKxtSustainExtrasDB)
            kxt::manager::ExpectSustainExtrasPasses(documents, path, progDataSustainabilityPath_);
        documents.Expect(path);
    }

    for (const std::u16string& path : paths) {
        auto it = kxt::manager::FindByPath(customDBs_, path);
        if (it == customDBs_.end()) {
            kxtMaterialDB& added = customDBs_.emplace_back();
            added.SetDBType(eKxtCustomDB);
            added.SetPath(path);
            kxt::manager::ReadAndLinkLibrary(added, path, linkDBs);
            continue;
        }
        kxtMaterialDB& db = *it;
        if (db.GetDBType() == eKxtSustainExtrasDB) {
            // Other custom materials may link into the extras database that is refilled here.
            const std::vector<kxt::manager::RecordedLink> links =
                kxt::manager::ReleaseMaterialsOf({&db, &sustainExtrasDB_}, &sustainExtrasDB_, favorites_, customDBs_);
            db.Clear();
            iFILLSustainExtrasDBs(path);
            db = sustainExtrasDB_;
            kxt::manager::RelinkIntoExtras(links, sustainExtrasDB_);
            kxt::manager::LinkLibrary(db, path, linkDBs);
        } else {
            kxt::manager::ReleaseMaterialsOf({&db}, nullptr, favorites_, customDBs_);
            db.Clear();
            kxt::manager::ReadAndLinkLibrary(db, path, linkDBs);
        }
    }
    iRebuildDatabaseList();
}

void kxtMaterialDBsManager::AddCustomMaterials(const kxtMaterialDB& db) {
    // Growing the list moves the databases, not their classes: only the
    // database list needs to follow.
    customDBs_.push_back(db);
    iRebuildDatabaseList();
}
