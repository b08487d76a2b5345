#include "manager_queries_fixture.h"

#include "support/temp_installation.h"

namespace kxt::test {

MaterialBuilder::MaterialBuilder(std::u16string name, std::u16string langName) {
    material_.SetMaterialType(eKxtStandardMaterial);
    material_.SetName(std::move(name));
    material_.SetLangName(std::move(langName));
    material_.SetEnvData(1);
}

MaterialBuilder& MaterialBuilder::Type(eKxtMaterialType type) {
    material_.SetMaterialType(type);
    return *this;
}

MaterialBuilder& MaterialBuilder::EnvData(int value) {
    material_.SetEnvData(value);
    return *this;
}

MaterialBuilder& MaterialBuilder::Gabi(std::u16string name) {
    material_.SetGaBiName(std::move(name));
    return *this;
}

MaterialBuilder& MaterialBuilder::Id(std::u16string id) {
    material_.SetMaterialID(std::move(id));
    return *this;
}

MaterialBuilder& MaterialBuilder::Process(std::u16string nativeName, std::u16string langName,
                                          std::u16string gabiName) {
    kxtManufacturingProcess process;
    process.SetNativeName(std::move(nativeName));
    process.SetLangName(std::move(langName));
    process.SetGaBiName(std::move(gabiName));
    material_.InsertProc(process);
    return *this;
}

MaterialBuilder& MaterialBuilder::Params(const std::u16string& process, std::vector<double> params) {
    material_.InsertManufacturingParams(process, params);
    return *this;
}

MaterialBuilder& MaterialBuilder::Link(kxtMaterialBase* linked) {
    material_.SetSageLink(linked);
    return *this;
}

kxtMaterialClass Class(std::u16string name, std::u16string langName, std::initializer_list<kxtMaterialBase> materials) {
    kxtMaterialClass group;
    for (kxtMaterialBase material : materials) {
        material.SetNativeClassName(name);
        material.SetLangCLassName(langName);
        group.InsertMaterial(std::move(material));
    }
    group.SetName(std::move(name));
    return group;
}

kxtMaterialDB Database(std::u16string path, eKxtMaterialBDType type, std::initializer_list<kxtMaterialClass> classes) {
    kxtMaterialDB db;
    db.SetDBType(type);
    db.SetPath(std::move(path));
    for (const kxtMaterialClass& group : classes) db.InsertGroup(group);
    return db;
}

void ManagerQueriesTest::SetUpTestSuite() {
    InstallationOptions options;
    options.withOwnModule = true;
    TempInstallation::Get(options);
}

void ManagerQueriesTest::LoadStandard(const kxtMaterialDB& native, const kxtMaterialDB& din) {
    *manager_.GetKxNativeDB() = native;
    *manager_.GetKxNativeDinDB() = din;
    std::vector<std::u16string> noFiles;
    manager_.UpdateMaterials(noFiles, 1);
}

kxtMaterialBase* ManagerQueriesTest::Native(const std::u16string& name) {
    kxtMaterialBase* found = nullptr;
    manager_.GetKxNativeDB()->GetMaterialByName(name, found, 0);
    return found;
}

kxtMaterialBase* ManagerQueriesTest::Din(const std::u16string& name) {
    kxtMaterialBase* found = nullptr;
    manager_.GetKxNativeDinDB()->GetMaterialByName(name, found, 0);
    return found;
}

}  // namespace kxt::test
