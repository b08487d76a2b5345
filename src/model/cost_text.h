// How a material's two cost texts read ("12.50", "EUR/kg"): the rule of
// SetMaterialCostData, and what it leaves undone, for the diagnostics.
#pragma once

#include <string_view>

#include <kxtmat/enums.h>

namespace kxt::model {

enum class CostFault {
    kNone,
    kAmountNotNumber,   // a character other than digits, '.' and ',': nothing changes
    kNoAmount,          // no number reads from the amount: the cost is 0
    kNoSingleSlash,     // the unit has no '/' or more than one: not defined
    kEmptyPart,         // nothing before or after the '/': not defined
    kUnknownMassUnit,   // the mass unit is none of the known words: not defined
};

struct CostReading {
    CostFault fault = CostFault::kNone;
    bool amountRead = false;  // the amount is valid: cost and defined are set from it
    double amount = 0.0;
    bool unitRead = false;  // currency, unit text and mass unit are set from the unit
    std::u16string_view unit;
    std::u16string_view currency;
    bool massRead = false;
    eKxtMassUnits massUnit = eKxtKilogram;
};

// Reads the two texts; the views point into them. Both texts empty: nothing read.
CostReading ReadCostTexts(std::u16string_view costText, std::u16string_view unitText);

// What a fault does to the cost, in words (UTF-8).
const char* DescribeCostFault(CostFault fault) noexcept;

}  // namespace kxt::model
