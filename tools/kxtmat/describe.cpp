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

Node DescribeProperties(const kxtMaterialBase& material) {
    Node properties = Node::Array();
    for (const kxtMatPhysPropSet& entry : material.GetMatPhysPropSet()) {
        std::u16string abbreviation;
        kxtMatPhysProp property;
        std::u16string name;
        std::u16string langName;
        entry.GetAbb(abbreviation);
        entry.GetProperty(property);
        property.GetPropName(name);
        property.GetLangPropName(langName);
        properties.Append(Node::Object()
                              .Set("abbreviation", abbreviation)
                              .Set("name", name)
                              .Set("language_name", langName)
                              .Set("value", property.GetValue()));
    }
    return properties;
}

Node DescribeRecycledContent(const kxtMaterialBase& material) {
    return Node::Object()
        .Set("amount", material.GetRecycledContentAmount())
        .Set("minimum", material.GetRecycledContentMin())
        .Set("maximum", material.GetRecycledContentMax())
        .Set("trade_mix", material.GetTradeMix())
        .Set("editable", material.GetIsEditableRecycledContentAmount());
}

Node DescribeCost(const kxtMaterialBase& material) {
    kxtMaterialCostData cost;
    material.GetMaterialCostData(cost);
    return Node::Object()
        .Set("defined", cost.defined)
        .Set("per_unit_mass", cost.costPerUnitMass)
        .Set("currency", cost.currency)
        .Set("mass_unit", MassUnitName(cost.massUnits))
        .Set("unit", cost.unitString);
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

Node DescribeDatabase(const kxtMaterialDB& db, int index) {
    std::uint64_t materials = 0;
    ForEachClass(db, [&](const kxtMaterialClass& group) { materials += group.GetMaterialCount(); });
    return Node::Object()
        .Set("index", index)
        .Set("type", DatabaseTypeName(db.GetDBType()))
        .Set("library", db.GetDbName())
        .Set("path", db.GetPath())
        .Set("classes", db.GetGroupCount())
        .Set("materials", materials);
}

Node DescribeClass(const kxtMaterialClass& group) {
    return Node::Object().Set("name", group.GetName()).Set("language_name", group.GetLangName());
}

Node DescribeReference(const kxtMaterialBase& material) {
    return Node::Object()
        .Set("library", LibraryOf(material))
        .Set("class", material.GetGrOwnerName())
        .Set("material", material.GetName());
}

Node DescribeProcess(const kxtManufacturingProcess& process, const kxtMaterialBase& owner) {
    std::vector<double> parameters;
    owner.GetManufacturingEnergyParams(parameters, process.GetGaBiName());
    return Node::Object()
        .Set("native", process.GetNativeName())
        .Set("language", process.GetLangName())
        .Set("gabi", process.GetGaBiName())
        .Set("energy_parameters", Node::Numbers(parameters));
}

Node DescribeMaterial(const kxtMaterialBase& material) {
    Node processes = Node::Array();
    for (const kxtManufacturingProcess& process : material.GetManufacturingTypes())
        processes.Append(DescribeProcess(process, material));
    const kxtMaterialDB* db = material.GetDbOwner();
    double density = 0.0;
    const bool hasDensity = material.GetDensity(density) != 0;
    return Node::Object()
        .Set("library", LibraryOf(material))
        .Set("database_type", db != nullptr ? Node(DatabaseTypeName(db->GetDBType())) : Node())
        .Set("class", material.GetGrOwner() != nullptr ? DescribeClass(*material.GetGrOwner()) : Node())
        .Set("names", Node::Object()
                          .Set("native", material.GetName())
                          .Set("language", material.GetLangName())
                          .Set("gabi", material.GetGabiName()))
        .Set("class_names", Node::Object()
                                .Set("native", material.GetNativeClassName())
                                .Set("language", material.GetLangClassName()))
        .Set("id", material.GetMaterialID())
        .Set("type", MaterialTypeName(material.GetType()))
        .Set("environmental_data", material.GetEnvData())
        .Set("density", hasDensity ? Node(density) : Node())
        .Set("properties", DescribeProperties(material))
        .Set("processes", std::move(processes))
        .Set("recycled_content", DescribeRecycledContent(material))
        .Set("cost", DescribeCost(material))
        .Set("link", material.GetSageLink() != nullptr ? DescribeReference(*material.GetSageLink()) : Node());
}

}  // namespace kxt::cli
