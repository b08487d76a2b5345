// Builders of small in-memory databases and a fixture that makes them a
// manager's standard and custom databases, for the tests of the manager's queries.
#pragma once

#include <kxtmat/kxtmat.h>

#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kxt::test {

// A material under construction: a standard material with environmental data.
class MaterialBuilder {
public:
    MaterialBuilder(std::u16string name, std::u16string langName);
    MaterialBuilder& Type(eKxtMaterialType type);
    MaterialBuilder& EnvData(int value);
    MaterialBuilder& Gabi(std::u16string name);
    MaterialBuilder& Id(std::u16string id);
    MaterialBuilder& Process(std::u16string nativeName, std::u16string langName, std::u16string gabiName = {});
    MaterialBuilder& Params(const std::u16string& process, std::vector<double> params);
    MaterialBuilder& Link(kxtMaterialBase* linked);
    operator kxtMaterialBase() const { return material_; }

private:
    kxtMaterialBase material_;
};

inline MaterialBuilder Material(std::u16string name, std::u16string langName = {}) {
    return MaterialBuilder(std::move(name), std::move(langName));
}

// A class whose materials carry its names as their native and language class names.
kxtMaterialClass Class(std::u16string name, std::u16string langName, std::initializer_list<kxtMaterialBase> materials);

kxtMaterialDB Database(std::u16string path, eKxtMaterialBDType type, std::initializer_list<kxtMaterialClass> classes);

class ManagerQueriesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();

    // Makes native and din the manager's standard databases and rebuilds its
    // lists; the custom databases are emptied.
    void LoadStandard(const kxtMaterialDB& native, const kxtMaterialDB& din);
    // Appends a custom database; GetDB(2 + n) is the n-th one added.
    void AddCustom(const kxtMaterialDB& db) { manager_.AddCustomMaterials(db); }

    // The first material of that native name in the native / DIN database.
    kxtMaterialBase* Native(const std::u16string& name);
    kxtMaterialBase* Din(const std::u16string& name);

    kxtMaterialDBsManager manager_;
};

}  // namespace kxt::test
