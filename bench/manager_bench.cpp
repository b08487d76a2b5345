// The manager at work on a real installation: full and custom-only loads,
// a custom library change, lookups, name mapping, processes, the property
// search and the favourites. Time per material should stay flat from 1,000
// to 100,000 materials.

#include <kxtmat/kxtmat.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_data.h"
#include "bench_host.h"

namespace {

using namespace kxt::bench;

// Time per material compared: `materials` per iteration.
void SetLookupCounters(benchmark::State& state, std::size_t materials) {
  state.counters["per_material"] = benchmark::Counter(static_cast<double>(materials),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}

// A full load of the installation that the benchmark's arguments name; false
// (and the benchmark skipped) when it does not hold what was generated.
bool Load(benchmark::State& state, BenchHost& host, kxtMaterialDBsManager& manager, int flag) {
  std::vector<std::u16string> files = host.HostList();
  manager.UpdateMaterials(files, flag);
  const kxtMaterialDB* native = manager.GetDB(0);
  const kxtMaterialDB* custom = manager.GetDB(3);
  if (native == nullptr || native->GetGroupCount() != static_cast<std::uint64_t>(Classes()) || custom == nullptr ||
      custom->GetGroupCount() == 0 || manager.GetFavoritesMaterials().empty()) {
    state.SkipWithError("the load does not find the generated libraries and favourites");
    return false;
  }
  return true;
}

// One loaded manager per size, kept for the lookups of every family.
kxtMaterialDBsManager* Loaded(benchmark::State& state) {
  static std::map<std::int64_t, std::unique_ptr<kxtMaterialDBsManager>> managers;
  BenchHost& host = BenchHost::Use(Installation(state));
  auto& manager = managers[state.range(0)];
  if (!manager) {
    manager = host.NewManager();
    if (!Load(state, host, *manager, 0)) {
      manager.reset();
      return nullptr;
    }
  }
  return manager.get();
}

std::size_t MaterialCount(const kxtMaterialDB& db) {
  std::size_t count = 0;
  for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) count += db.GetMaterialClass(static_cast<int>(i))->GetMaterialCount();
  return count;
}

// Material `index` of db in walk order (classes, then materials).
kxtMaterialBase* MaterialAt(const kxtMaterialDB& db, std::size_t index) {
  for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) {
    kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
    if (index < group->GetMaterialCount()) return group->GetMaterial(static_cast<unsigned>(index));
    index -= group->GetMaterialCount();
  }
  return nullptr;
}

void BM_UpdateMaterials(benchmark::State& state) {
  BenchHost& host = BenchHost::Use(Installation(state));
  std::unique_ptr<kxtMaterialDBsManager> manager = host.NewManager();
  bool loaded = false;
  const ResidentGrowth growth = MeasureResidentGrowth([&] { loaded = Load(state, host, *manager, 0); });
  if (!loaded) return;
  std::size_t materials = 0;
  for (int i = 0; manager->GetDB(i) != nullptr; ++i) materials += MaterialCount(*manager->GetDB(i));
  materials += MaterialCount(*manager->GetKxSustainExtrasDB());
  for (auto _ : state) {
    std::vector<std::u16string> files = host.HostList();
    manager->UpdateMaterials(files, 0);
  }
  SetCounters(state, Bytes(host.ParsedFiles(0), true));
  state.counters["peak_rss"] = static_cast<double>(growth.peak);
  state.counters["rss_per_file_byte"] =
      static_cast<double>(growth.peak) / static_cast<double>(Bytes(host.ParsedFiles(0), false));
  // What the loaded model keeps per material, over every database.
  state.counters["model_per_material"] = static_cast<double>(growth.kept) / static_cast<double>(materials);
}

void BM_UpdateMaterialsFlag1(benchmark::State& state) {
  BenchHost& host = BenchHost::Use(Installation(state));
  std::unique_ptr<kxtMaterialDBsManager> manager = host.NewManager();
  if (!Load(state, host, *manager, 0)) return;
  for (auto _ : state) {
    std::vector<std::u16string> files = host.HostList();
    manager->UpdateMaterials(files, 1);
  }
  SetCounters(state, Bytes(host.ParsedFiles(1), true));
}

void BM_CustomModified(benchmark::State& state) {
  BenchHost& host = BenchHost::Use(Installation(state));
  std::unique_ptr<kxtMaterialDBsManager> manager = host.NewManager();
  if (!Load(state, host, *manager, 0)) return;
  const std::vector<std::u16string> changed{host.CustomLibrary()};
  for (auto _ : state) manager->OnCustomDBsModified(changed);
  SetCounters(state, Bytes(host.CustomFiles(), true));
}

// The first, middle and last material of the last database of the list, by
// name and library.
void BM_GetMaterialHit(benchmark::State& state) {
  kxtMaterialDBsManager* manager = Loaded(state);
  if (manager == nullptr) return;
  int last = 0;
  while (manager->GetDB(last + 1) != nullptr) ++last;
  const kxtMaterialDB& db = *manager->GetDB(last);
  const std::u16string library = db.GetDbName();
  const std::size_t count = MaterialCount(db);
  const std::vector<std::size_t> positions{0, count / 2, count - 1};
  std::vector<std::u16string> names;
  std::size_t compared = 0;
  for (std::size_t position : positions) {
    names.push_back(MaterialAt(db, position)->GetName());
    compared += position + 1;
  }
  for (auto _ : state) {
    for (const std::u16string& name : names) benchmark::DoNotOptimize(manager->GetMaterial(name, library));
  }
  if (manager->GetMaterial(names.back(), library) != MaterialAt(db, count - 1))
    state.SkipWithError("the last material is not found");
  SetLookupCounters(state, compared);
}

// A name of the standard library's length and letters that no material
// bears: the whole standard database is compared.
void BM_GetMaterialMiss(benchmark::State& state) {
  kxtMaterialDBsManager* manager = Loaded(state);
  if (manager == nullptr) return;
  const kxtMaterialDB& native = *manager->GetDB(0);
  std::u16string missing = MaterialAt(native, MaterialCount(native) - 1)->GetName();
  missing.back() = u'x';
  const std::u16string library = native.GetDbName();
  for (auto _ : state) benchmark::DoNotOptimize(manager->GetMaterial(missing, library));
  if (manager->GetMaterial(missing, library) != nullptr) state.SkipWithError("the missing name was found");
  SetLookupCounters(state, MaterialCount(native));
}

// The last standard material, by its native class and material names.
void BM_MapToLang(benchmark::State& state) {
  kxtMaterialDBsManager* manager = Loaded(state);
  if (manager == nullptr) return;
  const kxtMaterialDB& native = *manager->GetDB(0);
  const kxtMaterialBase* material = MaterialAt(native, MaterialCount(native) - 1);
  const std::u16string className = material->GetGrOwner()->GetName();
  const std::u16string materialName = material->GetName();
  for (auto _ : state) {
    std::u16string mappedClass = className;
    std::u16string mappedMaterial = materialName;
    benchmark::DoNotOptimize(manager->MapToLang(mappedClass, mappedMaterial));
  }
  SetLookupCounters(state, MaterialCount(native));
}

// Five classes spread over the standard database.
void BM_GetInCommonProcesses(benchmark::State& state) {
  kxtMaterialDBsManager* manager = Loaded(state);
  if (manager == nullptr) return;
  const kxtMaterialDB& native = *manager->GetDB(0);
  std::vector<std::u16string> classNames;
  for (std::uint64_t k = 0; k < 5; ++k)
    classNames.push_back(native.GetMaterialClass(static_cast<int>(k * native.GetGroupCount() / 5))->GetName());
  for (auto _ : state) {
    std::vector<std::u16string> processes;
    manager->GetInCommonProcesses(classNames, processes);
    benchmark::DoNotOptimize(processes.data());
  }
  SetLookupCounters(state, MaterialCount(native));
}

kxtPhysPropSearchCriterionDef Criterion(const char16_t* name, kxtPhysPropSearchCriterionDef::eSearchCondition condition,
                                        double value) {
  kxtPhysPropSearchCriterionDef criterion;
  criterion.SetName(name);
  criterion.SetCondition(condition);
  criterion.SetValue(value);
  return criterion;
}

// Two property conditions and the cost criterion over every class of the
// standard database.
void BM_Search(benchmark::State& state) {
  kxtMaterialDBsManager* manager = Loaded(state);
  if (manager == nullptr) return;
  const kxtMaterialDB& native = *manager->GetDB(0);
  kxtSearchCriterionsSet criteria;
  criteria.SetClassIndex(static_cast<unsigned>(-1));
  criteria.InsertCriterion(Criterion(u"DENS", kxtPhysPropSearchCriterionDef::eGreaterThan, 3000));
  criteria.InsertCriterion(Criterion(u"ex", kxtPhysPropSearchCriterionDef::eLessThan, 1.5e11));
  const kxtSearchCriterionsSet withoutCost = criteria;
  criteria.InsertCriterion(Criterion(u"Material Cost", kxtPhysPropSearchCriterionDef::eLessThan, 40));
  std::vector<kxtMaterialBase*> found;
  std::vector<kxtMaterialBase*> foundWithoutCost;
  native.SearchMaterials(criteria, found, u"", nullptr);
  native.SearchMaterials(withoutCost, foundWithoutCost, u"", nullptr);
  if (found.empty() || found.size() >= foundWithoutCost.size()) {
    state.SkipWithError("the search does not apply the cost criterion");
    return;
  }
  for (auto _ : state) {
    found.clear();
    benchmark::DoNotOptimize(native.SearchMaterials(criteria, found, u"", nullptr));
  }
  SetLookupCounters(state, MaterialCount(native));
}

void BM_Favourites(benchmark::State& state) {
  kxtMaterialDBsManager* manager = Loaded(state);
  if (manager == nullptr) return;  // Loaded() has linked this size's registry export
  for (auto _ : state) benchmark::DoNotOptimize(manager->LoadFavoritesMaterialsFromRegistry().size());
  SetLookupCounters(state, kFavourites);
}

BENCHMARK(BM_UpdateMaterials)->Apply(Sizes);
BENCHMARK(BM_UpdateMaterialsFlag1)->Apply(Sizes);
BENCHMARK(BM_CustomModified)->Apply(Sizes);
BENCHMARK(BM_GetMaterialHit)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetMaterialMiss)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MapToLang)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetInCommonProcesses)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Search)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Favourites)->Apply(Sizes);

}  // namespace
