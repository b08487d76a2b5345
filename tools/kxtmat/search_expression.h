// Search expressions of the search command: "ABB>VALUE", "ABB<VALUE",
// "ABB~VALUE" (about equal) and "ABB" (any value), where ABB names a property
// abbreviation or the cost criterion.
#pragma once

#include <optional>
#include <string_view>

#include <kxtmat/kxtmat.h>

namespace kxt::cli {

// The criterion the expression states; nullopt when it is malformed (no name,
// no value after the operator, more than one operator, or a value that is not
// a finite number). Blanks around the name and the value are ignored.
std::optional<kxtPhysPropSearchCriterionDef> ParseSearchExpression(std::u16string_view expression);

// The finite number that text spells in full ("-1.5", "2e11"); nullopt otherwise.
std::optional<double> ParseNumber(std::u16string_view text);

// "any", "greater-than", "less-than" or "approximately".
const char* ConditionName(kxtPhysPropSearchCriterionDef::eSearchCondition condition);

}  // namespace kxt::cli
