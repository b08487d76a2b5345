// The cost of a material per unit mass, as parsed from a library file.
#pragma once

#include <string>

#include "kxtmat/enums.h"
#include "kxtmat/export.h"

// A plain structure; a new one holds the values of a material without cost.
struct KXTMAT_API kxtMaterialCostData {
    double costPerUnitMass = 0.0;
    // The currency as the unit text gives it ("EUR" of "EUR/kg").
    std::u16string currency = u"USD";
    eKxtMassUnits massUnits = eKxtKilogram;
    // The whole unit text, trimmed at both ends.
    std::u16string unitString = u"USD/kg";
    // Whether the cost is usable; the other fields may hold leftovers when it is not.
    bool defined = false;
};
