// The database manager: the one object through which the add-in reaches every
// material database.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kxtmat/export.h"
#include "kxtmat/material_base.h"
#include "kxtmat/material_class.h"
#include "kxtmat/material_db.h"

// Owns the standard library, DIN library and sustainability extras databases
// and the custom databases; the database list, the standard list and the
// favourites point into them. Pointers to the three standard databases stay
// valid for the manager's life; pointers to classes, materials and custom
// databases stay valid until the next UpdateMaterials or custom database
// notification. A copy shares its source's pointer lists (and so is usable
// only while the source lives and neither is reloaded) and its resource
// module. Not thread-safe: one caller at a time.
//
// No pointer that the manager keeps into its own storage dangles:
// - Custom databases move (when their list grows or shrinks) by the
//   database's move operations, which keep every class and material object
//   where it is; the database list is rebuilt after every change of the
//   custom list (AddCustomMaterials included).
// - Before a custom database is freed or re-read, the favourites that point
//   into it are dropped.
// - Before the sustainability extras database is refilled outside a full
//   load, custom materials linked into it are re-linked by the linked
//   material's native name in the new content (no link when it is gone);
//   links into a freed custom database are cleared.
class KXTMAT_API kxtMaterialDBsManager {
public:
    // Empty database set, version 0, no resource module; reads no file.
    kxtMaterialDBsManager();
    kxtMaterialDBsManager(const kxtMaterialDBsManager& other);
    kxtMaterialDBsManager& operator=(const kxtMaterialDBsManager& other);
    virtual ~kxtMaterialDBsManager();

    // Finds and loads the resource module beside this module and makes it
    // known to the framework-wide string lookup; no module leaves the handle empty.
    void InitResourcesData();

    kxtMaterialDB* GetKxNativeDB() { return &nativeDB_; }
    kxtMaterialDB* GetKxNativeDinDB() { return &nativeDinDB_; }
    kxtMaterialDB* GetKxSustainExtrasDB() { return &sustainExtrasDB_; }

    // The database list: native, DIN, then the custom databases in order.
    int GetDatabaseCount() const;
    // Entry index of the database list; null when out of range.
    kxtMaterialDB* GetDB(int index);
    // The custom databases themselves; the caller must not change their number.
    std::vector<kxtMaterialDB>& GetCustomDBs() { return customDBs_; }
    // out = copies of the custom databases, in order (nothing when out is the list itself).
    void GetCustomDBs(std::vector<kxtMaterialDB>& out) const;

    // The host version; the favourites key names 1992 + version.
    void SetKXVersion(unsigned short version) { kxVersion_ = version; }
    // The folder of the user's sustainability data, stored as given.
    void SetProgDataSustainabilityPath(const std::u16string& path) { progDataSustainabilityPath_ = path; }
    std::u16string GetProgDataSustainabilityPath() const { return progDataSustainabilityPath_; }

    // Strings kept for the host. A text already present (case-sensitive)
    // changes nothing; otherwise it replaces entry index, or is appended when
    // index is at or beyond the end. A negative index is ignored.
    void SetSustainSageString(int index, const std::u16string& text);
    const std::vector<std::u16string>& GetSustainSageStrings() const { return sageStrings_; }
    void ClearSustainSageStrings() { sageStrings_.clear(); }
    // Does nothing; kept for the host.
    void UpdateSustainabilityLinks() {}

    // Loads the libraries: flag 0 re-reads everything, any other value only
    // the custom databases. May remove one sustainability extras entry from files.
    void UpdateMaterials(std::vector<std::u16string>& files, int flag);

    // Removes the first custom database of each path (without regard to case).
    void OnCustomDBsRemoved(const std::vector<std::u16string>& paths);
    // Re-reads the custom database of each path, adding one for a new path.
    void OnCustomDBsModified(const std::vector<std::u16string>& paths);
    // Appends a copy of db to the custom databases.
    void AddCustomMaterials(const kxtMaterialDB& db);

    // Material lookups; each answers the first hit in search order, or null.
    // In the database list, only in the entry that is db itself.
    kxtMaterialBase* GetMaterial(const std::u16string& name, const kxtMaterialDB* db);
    // In every database of the list whose name is libraryName.
    kxtMaterialBase* GetMaterial(const std::u16string& name, const std::u16string& libraryName);
    // In the standard list.
    kxtMaterialBase* GetStandardMaterial(const std::u16string& name);
    // In the class className of each database of the standard list.
    kxtMaterialBase* GetStandardMaterial(const std::u16string& className, const std::u16string& name);
    // In the custom databases named libraryName.
    kxtMaterialBase* GetCustomMaterial(const std::u16string& name, const std::u16string& libraryName);
    // In the custom database that is db itself, or in all of them when db is null.
    kxtMaterialBase* GetCustomMaterial(const std::u16string& name, const kxtMaterialDB* db);
    // In all custom databases.
    kxtMaterialBase* GetCustomMaterialForObsoleteDocuments(const std::u16string& name);
    // dbType -1: standard list then custom databases; 0, 1: standard list;
    // 2, 3: custom databases; any other value: null.
    kxtMaterialClass* FindMaterialGroup(const std::u16string& className, int dbType);
    // className = the class of the material in the native, else the DIN database; empty when none.
    void GetStandardMaterialClass(const std::u16string& name, std::u16string& className);
    // className = the class of the material in the first custom database named
    // libraryName; unchanged when no custom database has that name.
    void GetCustomMaterialClass(const std::u16string& name, const std::u16string& libraryName,
                                std::u16string& className);
    // Whether the environmental calculation can use the material; flag (may
    // be null) pointing to 1 accepts an unknown material of a named library.
    bool IsMaterialsSupported(const std::u16string& name, const std::u16string& libraryName, const int* flag);

    // Name mapping; the strings are rewritten in place. 1 when the material
    // was found and both names rewritten, else 0 and nothing changed.
    int MapToLang(std::u16string& className, std::u16string& materialName);
    int MapToNative(std::u16string& className, std::u16string& materialName);
    // libraryName is lower-cased; a material found by id gives its native names.
    void MapMaterialDataToNative(const std::u16string& id, std::u16string& className, std::u16string& materialName,
                                 std::u16string& libraryName);
    void MapPartDataBeforeCalculations(std::u16string& className, std::u16string& materialName,
                                       const std::u16string& libraryName);
    // Turns class, material and process names into the GaBi vocabulary.
    void PrepareMaterialDataToGabi(std::u16string& className, std::u16string& materialName,
                                   std::u16string& processName);

    // Manufacturing processes.
    // process = the default process of a class named in the user-interface language, or empty.
    void GetDefaultProcess(std::u16string langClassName, std::u16string& process);
    // process = a native process name of the material.
    void GetDefaultProcessForAnyMaterial(const std::u16string& name, const std::u16string& libraryName,
                                         std::u16string& process);
    // 1 when the material has the process, else 0.
    int IsProcessApplicable(const std::u16string& process, const std::u16string& name,
                            const std::u16string& libraryName);
    // The process's language name, or the shared empty string.
    const std::u16string& MapMfgProcessToLang(const std::u16string& name, const std::u16string& libraryName,
                                              const std::u16string& process);
    const std::u16string& MapMfgProcessToLang(const kxtMaterialBase* material, const std::u16string& process);
    // The process's native name, or the shared empty string; envData (may be
    // null) receives the environmental-data value.
    const std::u16string& MapMfgProcessToNative(const std::u16string& name, const std::u16string& libraryName,
                                                const std::u16string& process, int* envData);
    const std::u16string& MapMfgProcessToNative(const kxtMaterialBase* material, const std::u16string& process);
    // processes = the processes that the given classes share.
    void GetInCommonProcesses(const std::vector<std::u16string>& classNames, std::vector<std::u16string>& processes);
    // params = the energy parameters of the process; unchanged when unknown.
    void GetManufacturingEnergyParams(const std::u16string& className, const std::u16string& name,
                                      const std::u16string& process, std::vector<double>& params);

    // Lists for the environmental calculation; each appends to the caller's
    // list and never clears it.
    // The custom classes that hold materials and either come from a
    // sustainability extras database or have a linked material; a class whose
    // name (without regard to case) the list already holds is left out.
    void GetSustainableClasses(std::vector<kxtMaterialClass*>& classes);
    // The custom materials that have a linked material or come from a
    // sustainability extras database, duplicates included.
    void GetSustainableMaterials(std::vector<kxtMaterialBase*>& materials);
    // The language name of every class of the standard / DIN database.
    void GetKxGeneralItems(std::vector<std::u16string>& items);
    void GetDINGeneralItems(std::vector<std::u16string>& items);
    // The language name of every class that GetSustainableClasses lists when
    // given an empty list, in that order.
    void GetSustainExtrasGeneralItems(std::vector<std::u16string>& items);

    // Favourites: rebuilt from the host's registry key, or handed over by the host.
    const std::vector<kxtMaterialBase*>& LoadFavoritesMaterialsFromRegistry();
    const std::vector<kxtMaterialBase*>& GetFavoritesMaterials() const { return favorites_; }
    // The first favourite whose native or language name is name; null when none.
    kxtMaterialBase* GetFavoritesMaterial(const std::u16string& name) const;
    // 1 when a favourite has material's class and exactly its native name, else 0.
    int HasFavoritesMaterial(const kxtMaterialBase* material) const;
    // Rebuilds the favourites from four parallel lists, which it rewrites as
    // MapMaterialDataToNative does; lists of unequal length change nothing.
    void OnFavoritesUpdated(std::vector<std::u16string>& libraryNames, std::vector<std::u16string>& classNames,
                            std::vector<std::u16string>& materialNames, std::vector<std::u16string>& ids);

private:
    // Fill the native and DIN databases from the installation; files are the
    // host's entries recognised as that library.
    void iFILLKxNativeDBs(const std::vector<std::u16string>& files);
    void iFillKxDINDBs(const std::vector<std::u16string>& files);
    // The text after the last backslash of path; empty when it holds none.
    std::u16string iGetMaterialDbName(std::u16string path) const;
    // Rebuilds the sustainability extras database for the library found at path.
    void iFILLSustainExtrasDBs(const std::u16string& path);
    // Reads the user's process settings into db, then the installed ones when
    // db still has no process.
    void iReadProcessSettings(kxtMaterialDB& db) const;
    // The database list: native, DIN, then every custom database in order.
    void iRebuildDatabaseList();
    // The resource module handle (null when none), for the readers of translated strings.
    void* iGetResourceModule() const noexcept { return resourceModule_.get(); }

    kxtMaterialDB nativeDB_;
    kxtMaterialDB nativeDinDB_;
    kxtMaterialDB sustainExtrasDB_;
    std::vector<kxtMaterialDB*> standardDBs_;
    std::vector<kxtMaterialBase*> favorites_;
    std::vector<kxtMaterialDB> customDBs_;
    std::vector<kxtMaterialDB*> dbs_;
    std::vector<std::u16string> sageStrings_;
    // Shared by copies; the last owner releases the load, and only a load
    // that InitResourcesData made.
    std::shared_ptr<void> resourceModule_;
    std::u16string ownModuleName_;
    std::u16string resourceModuleName_;
    unsigned short kxVersion_ = 0;
    std::u16string progDataSustainabilityPath_;
};
