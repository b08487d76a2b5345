// Parsing of a material's cost texts ("12.50", "EUR/kg").
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "kxtmat/material_base.h"
#include "platform/number_text.h"
#include "platform/text.h"

namespace {

// Cost texts drop the no-break and ideographic spaces at their ends too.
std::u16string_view Trim(std::u16string_view text) {
    return kxt::platform::Trim(text, kxt::platform::IsCOrWideSpace);
}

bool IsAmountChar(char16_t c) { return c == u'.' || c == u',' || (c >= u'0' && c <= u'9'); }

struct MassUnitWords {
    eKxtMassUnits unit;
    std::array<std::u16string_view, 6> words;  // unused slots are empty
};

// In the order in which the words are tried.
constexpr std::array<MassUnitWords, 4> kMassUnitWords{{
    {eKxtKilogram, {u"kg", u"kgs", u"kilogram", u"kilograms", u"kilo", u"kilos"}},
    {eKxtPound, {u"lb", u"lbs", u"pound", u"pounds"}},
    {eKxtGram, {u"g", u"gram", u"grams", u"gm"}},
    {eKxtMilligram, {u"milligram", u"milligrams", u"mg", u"mgs", u"milli"}},
}};

// The mass unit a (trimmed, non-empty) word names; false when none.
bool FindMassUnit(std::u16string_view word, eKxtMassUnits& unit) {
    for (const MassUnitWords& group : kMassUnitWords) {
        for (std::u16string_view candidate : group.words) {
            if (!candidate.empty() && kxt::platform::EqualsNoCase(word, candidate)) {
                unit = group.unit;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void kxtMaterialBase::SetMaterialCostData(const std::u16string& costText, const std::u16string& unitText) {
    if (costText.empty() && unitText.empty()) return;

    std::u16string_view amount = Trim(costText);
    // A trailing word after the amount ("3.2 USD") is dropped.
    if (const auto lastSpace = amount.rfind(u' '); lastSpace != std::u16string_view::npos) {
        amount = amount.substr(0, lastSpace);
    }
    if (!std::all_of(amount.begin(), amount.end(), IsAmountChar)) return;

    cost_.costPerUnitMass = kxt::platform::LeadingDecimalOrZero(amount);
    cost_.defined = true;

    const std::u16string_view unit = Trim(unitText);
    if (unit.empty()) return;

    const auto markUndefined = [this] {
        cost_.costPerUnitMass = 0.0;
        cost_.defined = false;
    };
    const auto slash = unit.find(u'/');
    if (slash == std::u16string_view::npos || unit.find(u'/', slash + 1) != std::u16string_view::npos) {
        markUndefined();
        return;
    }
    const std::u16string_view currency = Trim(unit.substr(0, slash));
    const std::u16string_view mass = Trim(unit.substr(slash + 1));
    if (currency.empty() || mass.empty()) {
        markUndefined();
        return;
    }
    cost_.currency.assign(currency);
    cost_.unitString.assign(unit);
    if (!FindMassUnit(mass, cost_.massUnits)) markUndefined();
}

void kxtMaterialBase::GetMaterialCostData(kxtMaterialCostData& out) const { out = cost_; }
