// Uses a few exported classes of the installed module; exit 0 when they answer.
#include <kxtmat/kxtmat.h>

int main() {
    kxtMaterialDB db;
    db.SetPath(u"Korvex Materials.kvxmat");
    kxtMaterialBase material;
    material.SetMaterialCostData(u"12.50", u"EUR/kg");
    return db.GetDbName() == u"korvex materials" && material.IsMaterialCostDefined() && material.GetMaterialCostPerUnitMass() == 12.5 ? 0 : 1;
}
