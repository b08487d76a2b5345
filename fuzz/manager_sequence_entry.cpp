// Sequences of manager calls on one small, fixed installation: full and
// custom-only loads, custom library changes (with the files rewritten or
// removed between the calls), favourites, lookups, name mapping, processes
// and the sustainable lists, in the order that the input gives. After every
// call, every pointer that the manager keeps or has just returned must point
// into a live database; ASan turns a dangling one into a crash.
//
// The input is read one operation at a time: a byte selects the operation,
// the following bytes its arguments (missing bytes read as 0).
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "fuzz/entry_points.h"
#include "fuzz/installation_input.h"
#include "fuzz/manager_setup.h"
#include "platform/text.h"
#include "support/temp_dir.h"

namespace kxt::fuzz {
namespace {

namespace fs = std::filesystem;

// At most this many operations per input, so that one input runs well below a second.
constexpr int kMaxOperations = 40;
// Full loads re-read the standard data: the dearest operation.
constexpr int kMaxFullLoads = 4;
// AddCustomMaterials grows the custom list; beyond this it is not called.
constexpr std::size_t kMaxCustomDBs = 12;

// The library files that the operations name, '/'-separated below the root.
// The fixture has all but the last two, which only a sequence writes.
constexpr std::string_view kLibraries[] = {
    "lang/english/kvxmaterials/korvex materials.kvxmat",
    "lang/english/kvxmaterials/korvex din materials.kvxmat",
    "lang/english/kvxmaterials/Sustainability Extras.kvxmat",
    "user/Sustainability Extras.kvxmat",
    "user/My Materials.kvxmat",
    "user/Second Materials.kvxmat",
    "user/third/My Materials.kvxmat",
    "user/Unknown.kvxmat",
    "user/new sustainability extras.kvxmat",
};
// The libraries that the rewrite and removal operations change (indexes into kLibraries).
constexpr std::size_t kWritable[] = {3, 4, 5, 6, 7, 8};
constexpr std::string_view kRegistry = "user/registry.reg";

// The fixture installation's files, read once from the source tree.
const std::vector<std::pair<std::string, std::string>>& Fixture() {
    static const std::vector<std::pair<std::string, std::string>> files = [] {
        const fs::path root = fs::path(KXTMAT_SOURCE_DIR) / "fuzz" / "fixtures" / "manager_sequence";
        std::vector<std::pair<std::string, std::string>> read;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file()) continue;
            read.emplace_back(entry.path().lexically_relative(root).generic_string(),
                              test::ReadFileBytes(entry.path()));
        }
        std::sort(read.begin(), read.end());
        Require(!read.empty(), "the manager_sequence fixture is missing");
        return read;
    }();
    return files;
}

const std::string* FixtureFile(std::string_view relative) {
    for (const auto& [path, bytes] : Fixture()) {
        if (platform::EqualsNoCase(platform::Utf8ToUtf16(path), platform::Utf8ToUtf16(relative))) return &bytes;
    }
    return nullptr;
}

void Remove(std::string_view relative) {
    std::error_code ignored;
    fs::remove(FuzzInstallation().Root() / relative, ignored);
}

// Every file as the fixture has it: the last input, or another target in the
// same process, may have changed any of them.
void ResetInstallation() {
    const test::TempInstallation& installation = FuzzInstallation();
    for (const auto& [relative, bytes] : Fixture()) installation.Write(relative, bytes);
    for (const std::string_view relative : kInstallationFiles) {
        if (FixtureFile(relative) == nullptr) Remove(relative);
    }
    for (const std::string_view relative : kLibraries) {
        if (FixtureFile(relative) == nullptr) Remove(relative);
    }
}

// The operations' arguments, read from the input; 0 once it is exhausted.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return position_ >= size_; }
    std::uint8_t Byte() { return Empty() ? 0 : data_[position_++]; }
    std::size_t Below(std::size_t bound) { return Byte() % bound; }
    // Up to count bytes.
    std::string_view Bytes(std::size_t count) {
        count = std::min(count, size_ - std::min(position_, size_));
        const std::string_view bytes(reinterpret_cast<const char*>(data_) + position_, count);
        position_ += count;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

std::u16string ToUpperAscii(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return text;
}

// A library path of the installation, now and then in another case.
std::u16string LibraryPath(Input& input) {
    const std::uint8_t choice = input.Byte();
    const std::string_view relative = kLibraries[choice % std::size(kLibraries)];
    std::u16string path = FuzzInstallation().Path(relative);
    if ((choice & 0x80) == 0) return path;
    const std::size_t root = FuzzInstallation().Path().size();
    return path.substr(0, root) + ToUpperAscii(path.substr(root));
}

// The databases whose materials may be pointed at: the database list and the
// sustainability extras database, which the custom links also reach.
std::vector<kxtMaterialDB*> LiveDatabases(kxtMaterialDBsManager& manager) {
    std::vector<kxtMaterialDB*> dbs;
    for (int i = 0; i < manager.GetDatabaseCount(); ++i) dbs.push_back(manager.GetDB(i));
    dbs.push_back(manager.GetKxSustainExtrasDB());
    return dbs;
}

// What the manager holds now, to check pointers against.
struct Live {
    std::unordered_set<const kxtMaterialDB*> dbs;
    std::unordered_set<const kxtMaterialClass*> classes;
    std::unordered_set<const kxtMaterialBase*> materials;
    std::vector<kxtMaterialBase*> ordered;  // the materials, in walk order

    explicit Live(kxtMaterialDBsManager& manager) {
        for (kxtMaterialDB* db : LiveDatabases(manager)) {
            dbs.insert(db);
            for (std::uint64_t i = 0; i < db->GetGroupCount(); ++i) classes.insert(db->GetMaterialClass(static_cast<int>(i)));
            ForEachMaterial(*db, [&](kxtMaterialBase& material) {
                materials.insert(&material);
                ordered.push_back(&material);
            });
        }
    }

    bool IsCustom(kxtMaterialDBsManager& manager, const kxtMaterialDB* db) const {
        for (const kxtMaterialDB& custom : manager.GetCustomDBs()) {
            if (&custom == db) return true;
        }
        return false;
    }
};

// A material that a lookup returned: null, or one of the live ones. Reading
// it first lets ASan name a dangling one.
void RequireLiveMaterial(const Live& live, const kxtMaterialBase* material, const char* what) {
    if (material == nullptr) return;
    (void)material->GetName().size();
    Require(live.materials.contains(material), what);
}

void RequireLiveClass(const Live& live, const kxtMaterialClass* group, const char* what) {
    if (group == nullptr) return;
    (void)group->GetName().size();
    Require(live.classes.contains(group), what);
}

// The standard databases never move; the lists point into live storage.
void RequireInvariants(kxtMaterialDBsManager& manager, const kxtMaterialDB* native, const kxtMaterialDB* din,
                       const kxtMaterialDB* extras) {
    Require(manager.GetKxNativeDB() == native && manager.GetKxNativeDinDB() == din &&
                manager.GetKxSustainExtrasDB() == extras,
            "a standard database moved");
    // Also every favourite: it lies in a database of the list.
    RequireLiveLists(manager);
    const Live live(manager);
    for (const kxtMaterialDB* db : live.dbs) RequireOwnership(*db);
    for (const kxtMaterialBase* material : live.ordered) {
        RequireLiveMaterial(live, material->GetSageLink(), "a material links outside the live databases");
    }
}

// A name to look up: one of a live material's or class's names, now and then
// in another case, or a name that the fixture uses or nobody does.
std::u16string Name(Input& input, const Live& live) {
    static const std::u16string kNames[] = {
        u"",           u"Bracket Steel",      u"Recycled Steel EAF", u"Plain Carbon Steel", u"1.4301",
        u"Steel",      u"Polylactic Acid (PLA)", u"Unknown Material", u"KM0101",          u"Woods",
    };
    const std::uint8_t choice = input.Byte();
    const std::size_t pick = input.Byte();
    std::u16string name;
    if (choice % 4 == 0 || live.ordered.empty()) {
        name = kNames[pick % std::size(kNames)];
    } else {
        const kxtMaterialBase& material = *live.ordered[pick % live.ordered.size()];
        switch (choice % 4) {
            case 1: name = material.GetName(); break;
            case 2: name = material.GetLangName(); break;
            default: name = material.GetGrOwnerName(); break;
        }
    }
    return (choice & 0x80) != 0 ? ToUpperAscii(name) : name;
}

// A library name: of a live database, a standard one, or an unknown one.
std::u16string LibraryName(Input& input, kxtMaterialDBsManager& manager) {
    static const std::u16string kLibraryNames[] = {
        u"korvex materials", u"Korvex DIN Materials", u"my materials", u"sustainability extras", u"", u"nobody's",
    };
    const std::uint8_t choice = input.Byte();
    if (choice % 2 == 0 && manager.GetDatabaseCount() > 0) {
        return manager.GetDB(static_cast<int>(choice / 2 % manager.GetDatabaseCount()))->GetDbName();
    }
    return kLibraryNames[choice / 2 % std::size(kLibraryNames)];
}

const kxtMaterialDB* DatabaseOwning(const kxtMaterialBase* material) {
    return material == nullptr || material->GetGrOwner() == nullptr ? nullptr : material->GetGrOwner()->GetDbOwner();
}

// The state of one input's sequence.
class Sequence {
public:
    explicit Sequence(Input& input) : input_(input) {
        SetUpManager(manager_);
        native_ = manager_.GetKxNativeDB();
        din_ = manager_.GetKxNativeDinDB();
        extras_ = manager_.GetKxSustainExtrasDB();
    }

    void Run() {
        std::vector<std::u16string> files = HostList();
        for (const std::string_view relative : {"user/Second Materials.kvxmat", "user/third/My Materials.kvxmat"}) {
            files.push_back(FuzzInstallation().Path(relative));
        }
        manager_.UpdateMaterials(files, 0);
        ++fullLoads_;
        Check();
        for (int i = 0; i < kMaxOperations && !input_.Empty(); ++i) {
            Step();
            Check();
        }
    }

private:
    void Check() { RequireInvariants(manager_, native_, din_, extras_); }

    void Step() {
        switch (input_.Below(16)) {
            case 0: UpdateMaterials(); break;
            case 1: manager_.OnCustomDBsModified(Paths()); break;
            case 2: manager_.OnCustomDBsRemoved(Paths()); break;
            case 3: RewriteLibrary(); break;
            case 4: Remove(kLibraries[kWritable[input_.Below(std::size(kWritable))]]); break;
            case 5: AddCustomMaterials(); break;
            case 6: LoadFavourites(); break;
            case 7: RewriteRegistry(); break;
            case 8: FavouritesUpdated(); break;
            case 9:
            case 10: Lookup(); break;
            case 11: MapNames(); break;
            case 12: Processes(); break;
            case 13: Lists(); break;
            case 14: Copies(); break;
            default: Favourites(); break;
        }
    }

    void UpdateMaterials() {
        const std::uint8_t how = input_.Byte();
        const int flag = how % 3 == 2 ? 7 : how % 3;
        std::vector<std::u16string> files;
        switch (how / 3 % 3) {
            case 0: files = HostList(); break;
            case 1:
                files = HostList();
                std::reverse(files.begin(), files.end());
                break;
            default:
                for (std::size_t n = input_.Below(8); n > 0; --n) files.push_back(LibraryPath(input_));
                break;
        }
        if (flag == 0 && fullLoads_ >= kMaxFullLoads) return;
        if (flag == 0) ++fullLoads_;
        manager_.UpdateMaterials(files, flag);
    }

    // One to four library paths: existing, unknown, in another case, repeated.
    std::vector<std::u16string> Paths() {
        std::vector<std::u16string> paths;
        for (std::size_t n = 1 + input_.Below(4); n > 0; --n) paths.push_back(LibraryPath(input_));
        return paths;
    }

    void RewriteLibrary() {
        const std::string_view relative = kLibraries[kWritable[input_.Below(std::size(kWritable))]];
        const std::uint8_t how = input_.Byte();
        switch (how % 4) {
            case 0: {  // another library's fixture bytes, the standard ones included
                const std::string* bytes = FixtureFile(kLibraries[how / 4 % std::size(kLibraries)]);
                FuzzInstallation().Write(relative, bytes == nullptr ? std::string_view() : std::string_view(*bytes));
                break;
            }
            case 1: FuzzInstallation().Write(relative, ""); break;
            case 2: FuzzInstallation().Write(relative, "<materials><classification name=\"Steel\"><material"); break;
            default: FuzzInstallation().Write(relative, input_.Bytes(input_.Byte() * 8u)); break;
        }
    }

    void RewriteRegistry() {
        const std::uint8_t how = input_.Byte();
        switch (how % 4) {
            case 0: FuzzInstallation().Write(kRegistry, *FixtureFile(kRegistry)); break;
            case 1: Remove(kRegistry); break;
            case 2: manager_.SetKXVersion(how % 8 == 2 ? 34 : 33); break;
            default: FuzzInstallation().Write(kRegistry, input_.Bytes(input_.Byte() * 4u)); break;
        }
    }

    void AddCustomMaterials() {
        if (manager_.GetCustomDBs().size() >= kMaxCustomDBs) return;
        const std::uint8_t which = input_.Byte();
        std::vector<kxtMaterialDB>& custom = manager_.GetCustomDBs();
        switch (which % 5) {
            case 0:  // one of the custom databases itself, not a copy: the list grows under the argument
                if (!custom.empty()) manager_.AddCustomMaterials(custom[which / 5 % custom.size()]);
                break;
            case 1:
                if (!custom.empty()) manager_.AddCustomMaterials(kxtMaterialDB(custom[which / 5 % custom.size()]));
                break;
            case 2: manager_.AddCustomMaterials(kxtMaterialDB(*manager_.GetKxSustainExtrasDB())); break;
            case 3: manager_.AddCustomMaterials(*manager_.GetKxNativeDinDB()); break;
            default: {
                kxtMaterialDB empty;
                empty.SetDBType(eKxtCustomDB);
                empty.SetPath(LibraryPath(input_));
                manager_.AddCustomMaterials(empty);
                break;
            }
        }
    }

    void LoadFavourites() {
        const std::vector<kxtMaterialBase*>& loaded = manager_.LoadFavoritesMaterialsFromRegistry();
        Require(&loaded == &manager_.GetFavoritesMaterials(), "the loaded favourites are another list");
    }

    void FavouritesUpdated() {
        const Live live(manager_);
        std::vector<std::u16string> libraries, classes, names, ids;
        for (std::size_t n = input_.Below(5); n > 0; --n) {
            const std::uint8_t how = input_.Byte();
            if (!live.ordered.empty() && how % 3 != 0) {
                const kxtMaterialBase& material = *live.ordered[input_.Byte() % live.ordered.size()];
                std::u16string library;
                material.GetOwnerDbName(library);
                libraries.push_back(how & 0x40 ? ToUpperAscii(library) : library);
                classes.push_back(material.GetGrOwnerName());
                names.push_back(how & 0x20 ? material.GetLangName() : material.GetName());
                ids.push_back(how & 0x10 ? u"" : material.GetMaterialID());
            } else {
                libraries.push_back(LibraryName(input_, manager_));
                classes.push_back(Name(input_, live));
                names.push_back(Name(input_, live));
                ids.push_back(how & 0x10 ? u"1.0038" : u"");
            }
        }
        const std::vector<kxtMaterialBase*> before = manager_.GetFavoritesMaterials();
        const bool unequal = input_.Byte() % 8 == 0;
        if (unequal) ids.push_back(u"KM0101");
        manager_.OnFavoritesUpdated(libraries, classes, names, ids);
        if (unequal) {
            Require(manager_.GetFavoritesMaterials() == before, "lists of unequal lengths changed the favourites");
            return;
        }
        for (const std::u16string& library : libraries) {
            Require(platform::ToLower(library) == library, "a library name came back not in lower case");
        }
    }

    void Favourites() {
        const Live live(manager_);
        const std::u16string name = Name(input_, live);
        RequireLiveMaterial(live, manager_.GetFavoritesMaterial(name), "GetFavoritesMaterial answered a dead material");
        const kxtMaterialBase* material =
            live.ordered.empty() ? nullptr : live.ordered[input_.Byte() % live.ordered.size()];
        const int has = manager_.HasFavoritesMaterial(material);
        Require(has == 0 || has == 1, "HasFavoritesMaterial answered neither 1 nor 0");
        for (const kxtMaterialBase* favourite : manager_.GetFavoritesMaterials()) {
            Require(manager_.HasFavoritesMaterial(favourite) == 1, "a favourite is not a favourite");
        }
    }

    void Lookup() {
        const Live live(manager_);
        const std::u16string name = Name(input_, live);
        const std::uint8_t which = input_.Byte();
        switch (which % 9) {
            case 0: {
                const int index = static_cast<int>(which / 9 % (manager_.GetDatabaseCount() + 2)) - 1;
                const kxtMaterialDB* db = manager_.GetDB(index);
                const kxtMaterialBase* found = manager_.GetMaterial(name, db);
                RequireLiveMaterial(live, found, "GetMaterial (database) answered a dead material");
                Require(found == nullptr || DatabaseOwning(found) == db, "GetMaterial answered another database's");
                break;
            }
            case 1: {
                // A copy is not in the database list, whatever it holds.
                if (manager_.GetDatabaseCount() == 0) break;
                const kxtMaterialDB copy(*manager_.GetDB(which / 9 % manager_.GetDatabaseCount()));
                Require(manager_.GetMaterial(name, &copy) == nullptr, "GetMaterial found a material in a copy");
                Require(manager_.GetCustomMaterial(name, &copy) == nullptr, "GetCustomMaterial searched a copy");
                break;
            }
            case 2:
                RequireLiveMaterial(live, manager_.GetMaterial(name, LibraryName(input_, manager_)),
                                    "GetMaterial (library) answered a dead material");
                break;
            case 3: {
                const kxtMaterialBase* found = which & 0x80 ? manager_.GetStandardMaterial(name)
                                                            : manager_.GetStandardMaterial(Name(input_, live), name);
                RequireLiveMaterial(live, found, "GetStandardMaterial answered a dead material");
                Require(found == nullptr || DatabaseOwning(found) == native_ || DatabaseOwning(found) == din_,
                        "GetStandardMaterial answered a custom material");
                break;
            }
            case 4:
            case 5: {
                const kxtMaterialBase* found = nullptr;
                if (which % 9 == 4) {
                    found = manager_.GetCustomMaterial(name, LibraryName(input_, manager_));
                } else if (which & 0x80) {
                    found = manager_.GetCustomMaterialForObsoleteDocuments(name);
                } else {
                    const std::vector<kxtMaterialDB>& custom = manager_.GetCustomDBs();
                    const std::size_t pick = input_.Byte();
                    const kxtMaterialDB* db = custom.empty() || pick % 3 == 0 ? nullptr : &custom[pick % custom.size()];
                    found = manager_.GetCustomMaterial(name, db);
                    Require(found == nullptr || db == nullptr || DatabaseOwning(found) == db,
                            "GetCustomMaterial answered another database's");
                }
                RequireLiveMaterial(live, found, "GetCustomMaterial answered a dead material");
                Require(found == nullptr || live.IsCustom(manager_, DatabaseOwning(found)),
                        "GetCustomMaterial answered a standard material");
                break;
            }
            case 6: {
                const int type = static_cast<int>(which / 9 % 7) - 2;
                const kxtMaterialClass* group = manager_.FindMaterialGroup(name, type);
                RequireLiveClass(live, group, "FindMaterialGroup answered a dead class");
                if (group == nullptr) break;
                const bool standard = group->GetDbOwner() == native_ || group->GetDbOwner() == din_;
                Require(type != 0 && type != 1 ? true : standard, "FindMaterialGroup left the standard list");
                Require(type != 2 && type != 3 ? true : live.IsCustom(manager_, group->GetDbOwner()),
                        "FindMaterialGroup left the custom databases");
                Require(type >= -1 && type <= 3, "FindMaterialGroup searched for an unknown type");
                break;
            }
            case 7: {
                std::u16string className = u"unchanged";
                manager_.GetStandardMaterialClass(name, className);
                std::u16string customClass = u"unchanged";
                manager_.GetCustomMaterialClass(name, LibraryName(input_, manager_), customClass);
                break;
            }
            default: {
                const int flag = which & 0x80 ? 1 : 0;
                manager_.IsMaterialsSupported(name, LibraryName(input_, manager_), which & 0x40 ? &flag : nullptr);
                break;
            }
        }
    }

    void MapNames() {
        const Live live(manager_);
        std::u16string className = Name(input_, live);
        std::u16string name = Name(input_, live);
        switch (input_.Below(5)) {
            case 0: manager_.MapToLang(className, name); break;
            case 1: manager_.MapToNative(className, name); break;
            case 2: {
                std::u16string library = LibraryName(input_, manager_);
                manager_.MapMaterialDataToNative(Name(input_, live), className, name, library);
                Require(platform::ToLower(library) == library, "MapMaterialDataToNative left the library name's case");
                break;
            }
            case 3: manager_.MapPartDataBeforeCalculations(className, name, LibraryName(input_, manager_)); break;
            default: {
                std::u16string process = input_.Byte() % 2 ? u"Milled" : u"Extruded";
                manager_.PrepareMaterialDataToGabi(className, name, process);
                break;
            }
        }
    }

    void Processes() {
        const Live live(manager_);
        static const std::u16string kProcesses[] = {u"Milled", u"Extruded", u"milled_part", u"None", u"", u"Forged"};
        const std::u16string process = kProcesses[input_.Below(std::size(kProcesses))];
        const std::u16string name = Name(input_, live);
        const std::u16string library = LibraryName(input_, manager_);
        const kxtMaterialBase* material = live.ordered.empty() ? nullptr : live.ordered[input_.Byte() % live.ordered.size()];
        switch (input_.Below(7)) {
            case 0: {
                std::u16string found;
                manager_.GetDefaultProcess(Name(input_, live), found);
                manager_.GetDefaultProcessForAnyMaterial(name, library, found);
                break;
            }
            case 1: manager_.IsProcessApplicable(process, name, library); break;
            case 2:
                manager_.MapMfgProcessToLang(name, library, process);
                manager_.MapMfgProcessToLang(material, process);
                break;
            case 3: {
                int envData = -1;
                manager_.MapMfgProcessToNative(name, library, process, &envData);
                manager_.MapMfgProcessToNative(material, process);
                break;
            }
            case 4: {
                std::vector<std::u16string> classNames{Name(input_, live), Name(input_, live)};
                std::vector<std::u16string> processes;
                manager_.GetInCommonProcesses(classNames, processes);
                break;
            }
            default: {
                std::vector<double> params;
                manager_.GetManufacturingEnergyParams(Name(input_, live), name, process, params);
                break;
            }
        }
    }

    void Lists() {
        const Live live(manager_);
        std::vector<kxtMaterialBase*> materials;
        manager_.GetSustainableMaterials(materials);
        for (const kxtMaterialBase* material : materials) {
            RequireLiveMaterial(live, material, "GetSustainableMaterials listed a dead material");
            Require(live.IsCustom(manager_, DatabaseOwning(material)), "GetSustainableMaterials listed a standard material");
        }
        std::vector<kxtMaterialClass*> classes;
        manager_.GetSustainableClasses(classes);
        for (const kxtMaterialClass* group : classes) {
            RequireLiveClass(live, group, "GetSustainableClasses listed a dead class");
        }
        std::vector<std::u16string> items;
        manager_.GetKxGeneralItems(items);
        manager_.GetDINGeneralItems(items);
        manager_.GetSustainExtrasGeneralItems(items);
    }

    // Copies of the manager and of the custom databases, used and dropped at once.
    void Copies() {
        const Live live(manager_);
        if (input_.Byte() % 2 == 0) {
            std::vector<kxtMaterialDB> copies;
            manager_.GetCustomDBs(copies);
            Require(copies.size() == manager_.GetCustomDBs().size(), "GetCustomDBs copied a wrong number");
            for (const kxtMaterialDB& copy : copies) RequireOwnership(copy);
            manager_.GetCustomDBs(manager_.GetCustomDBs());
            return;
        }
        const kxtMaterialDBsManager copy(manager_);
        kxtMaterialDBsManager& same = manager_;
        manager_ = same;
        kxtMaterialDBsManager reader(copy);
        RequireLiveMaterial(live, reader.GetMaterial(Name(input_, live), LibraryName(input_, manager_)),
                            "a copy's GetMaterial answered a dead material");
    }

    Input& input_;
    kxtMaterialDBsManager manager_;
    const kxtMaterialDB* native_ = nullptr;
    const kxtMaterialDB* din_ = nullptr;
    const kxtMaterialDB* extras_ = nullptr;
    int fullLoads_ = 0;
};

}  // namespace

int FuzzManagerSequence(const std::uint8_t* data, std::size_t size) {
    ResetInstallation();
    Input input(data, size);
    Sequence(input).Run();
    return 0;
}

}  // namespace kxt::fuzz
