#include "describe.h"

#include "lookup.h"

namespace kxt::cli {
namespace {

const char* MaterialTypeName(eKxtMaterialType type) {
    switch (type) {
    case eKxtStandardMaterial: return "standard";
    case eKxtDinMaterial: return "din";
    case eKxtCustomMaterial: return "custom";
    }
    return "unknown";
}

const char* MassUnitName(eKxtMassUnits units) {
    switch (units) {
    case eKxtMilligram: return "mg";
    case eKxtGram: return "g";
    case eKxtKilogram: return "kg";
    case eKxtPound: return "lb";
    }
    return "unknown";
}

Json DescribeProperties(const kxtMaterialBase& material) {
    Json properties = Json::array();
    for (const kxtMatPhysPropSet& entry : material.GetMatPhysPropSet()) {
        std::u16string abbreviation;
        kxtMatPhysProp property;
        std::u16string name;
        std::u16string langName;
        entry.GetAbb(abbreviation);
        entry.GetProperty(property);
        property.GetPropName(name);
        property.GetLangPropName(langName);
        properties.push_back(
            {{"abbreviation", abbreviation}, {"name", name}, {"language_name", langName}, {"value", property.GetValue()}});
    }
    return properties;
}

Json DescribeRecycledContent(const kxtMaterialBase& material) {
    return {{"amount", material.GetRecycledContentAmount()},
            {"minimum", material.GetRecycledContentMin()},
            {"maximum", material.GetRecycledContentMax()},
            {"trade_mix", material.GetTradeMix()},
            {"editable", material.GetIsEditableRecycledContentAmount()}};
}

Json DescribeCost(const kxtMaterialBase& material) {
    kxtMaterialCostData cost;
    material.GetMaterialCostData(cost);
    return {{"defined", cost.defined},
            {"per_unit_mass", cost.costPerUnitMass},
            {"currency", cost.currency},
            {"mass_unit", MassUnitName(cost.massUnits)},
            {"unit", cost.unitString}};
}

}  // namespace

const char* DatabaseTypeName(eKxtMaterialBDType type) {
    switch (type) {
    case eKxtNativeDB: return "native";
    case eKxtNativeDinDB: return "din";
    case eKxtCustomDB: return "custom";
    case eKxtSustainExtrasDB: return "sustainability-extras";
    }
    return "unknown";
}

Json DescribeDatabase(const kxtMaterialDB& db, int index) {
    std::uint64_t materials = 0;
    ForEachClass(db, [&](const kxtMaterialClass& group) { materials += group.GetMaterialCount(); });
    return {{"index", index},
            {"type", DatabaseTypeName(db.GetDBType())},
            {"library", db.GetDbName()},
            {"path", db.GetPath()},
            {"classes", db.GetGroupCount()},
            {"materials", materials}};
}

Json DescribeClass(const kxtMaterialClass& group) {
    return {{"name", group.GetName()}, {"language_name", group.GetLangName()}};
}

Json DescribeReference(const kxtMaterialBase& material) {
    return {{"library", LibraryOf(material)}, {"class", material.GetGrOwnerName()}, {"material", material.GetName()}};
}

Json DescribeReferenceOrNull(const kxtMaterialBase* material) {
    return material != nullptr ? DescribeReference(*material) : Json();
}

Json DescribeProcess(const kxtManufacturingProcess& process, const kxtMaterialBase& owner) {
    std::vector<double> parameters;
    owner.GetManufacturingEnergyParams(parameters, process.GetGaBiName());
    return {{"native", process.GetNativeName()},
            {"language", process.GetLangName()},
            {"gabi", process.GetGaBiName()},
            {"energy_parameters", parameters}};
}

Json DescribeMaterial(const kxtMaterialBase& material) {
    Json processes = Json::array();
    for (const kxtManufacturingProcess& process : material.GetManufacturingTypes())
        processes.push_back(DescribeProcess(process, material));
    const kxtMaterialDB* db = material.GetDbOwner();
    double density = 0.0;
    const bool hasDensity = material.GetDensity(density) != 0;
    return {{"library", LibraryOf(material)},
            {"database_type", db != nullptr ? Json(DatabaseTypeName(db->GetDBType())) : Json()},
            {"class", material.GetGrOwner() != nullptr ? DescribeClass(*material.GetGrOwner()) : Json()},
            {"names",
             {{"native", material.GetName()}, {"language", material.GetLangName()}, {"gabi", material.GetGabiName()}}},
            {"class_names", {{"native", material.GetNativeClassName()}, {"language", material.GetLangClassName()}}},
            {"id", material.GetMaterialID()},
            {"type", MaterialTypeName(material.GetType())},
            {"environmental_data", material.GetEnvData()},
            {"density", hasDensity ? Json(density) : Json()},
            {"properties", DescribeProperties(material)},
            {"processes", std::move(processes)},
            {"recycled_content", DescribeRecycledContent(material)},
            {"cost", DescribeCost(material)},
            {"link", DescribeReferenceOrNull(material.GetSageLink())}};
}

}  // namespace kxt::cli
