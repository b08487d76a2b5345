#include "search_expression.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/text.h"

namespace kxt::cli {
namespace {

using Condition = kxtPhysPropSearchCriterionDef::eSearchCondition;

constexpr std::u16string_view kOperators = u"<>~";

Condition ConditionOf(char16_t op) {
    switch (op) {
    case u'>': return Condition::eGreaterThan;
    case u'<': return Condition::eLessThan;
    default: return Condition::eApproximately;
    }
}

}  // namespace

std::optional<double> ParseNumber(std::u16string_view text) {
    const std::string digits = platform::Utf16ToUtf8(text);
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<kxtPhysPropSearchCriterionDef> ParseSearchExpression(std::u16string_view expression) {
    const std::size_t at = expression.find_first_of(kOperators);
    const std::u16string_view name = platform::Trim(expression.substr(0, at));
    if (name.empty()) return std::nullopt;

    kxtPhysPropSearchCriterionDef criterion;
    criterion.SetName(std::u16string(name));
    criterion.SetCondition(Condition::eAny);
    criterion.SetValue(0.0);
    if (at == std::u16string_view::npos) return criterion;

    const std::u16string_view valueText = platform::Trim(expression.substr(at + 1));
    if (valueText.find_first_of(kOperators) != std::u16string_view::npos) return std::nullopt;
    const std::optional<double> value = ParseNumber(valueText);
    if (!value) return std::nullopt;
    criterion.SetCondition(ConditionOf(expression[at]));
    criterion.SetValue(*value);
    return criterion;
}

const char* ConditionName(Condition condition) {
    switch (condition) {
    case Condition::eAny: return "any";
    case Condition::eGreaterThan: return "greater-than";
    case Condition::eLessThan: return "less-than";
    case Condition::eApproximately: return "approximately";
    }
    return "unknown";
}

}  // namespace kxt::cli
