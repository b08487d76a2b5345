// Parsing of a material's cost texts ("12.50", "EUR/kg").
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "kxtmat/material_base.h"
#include "model/cost_text.h"
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

namespace kxt::model {

CostReading ReadCostTexts(std::u16string_view costText, std::u16string_view unitText) {
    CostReading reading;
    if (costText.empty() && unitText.empty()) return reading;

    std::u16string_view amount = Trim(costText);
    // A trailing word after the amount ("3.2 USD") is dropped.
    if (const auto lastSpace = amount.rfind(u' '); lastSpace != std::u16string_view::npos) {
        amount = amount.substr(0, lastSpace);
    }
    if (!std::all_of(amount.begin(), amount.end(), IsAmountChar)) {
        reading.fault = CostFault::kAmountNotNumber;
        return reading;
    }
    // "%lf" in the current locale, as the process settings' numbers read.
    const std::optional<double> value = kxt::platform::ScannedNumber(amount);
    reading.amountRead = true;
    reading.amount = value.value_or(0.0);
    if (!value) reading.fault = CostFault::kNoAmount;

    const std::u16string_view unit = Trim(unitText);
    if (unit.empty()) return reading;
    const auto slash = unit.find(u'/');
    if (slash == std::u16string_view::npos || unit.find(u'/', slash + 1) != std::u16string_view::npos) {
        reading.fault = CostFault::kNoSingleSlash;
        return reading;
    }
    const std::u16string_view currency = Trim(unit.substr(0, slash));
    const std::u16string_view mass = Trim(unit.substr(slash + 1));
    if (currency.empty() || mass.empty()) {
        reading.fault = CostFault::kEmptyPart;
        return reading;
    }
    reading.unitRead = true;
    reading.unit = unit;
    reading.currency = currency;
    reading.massRead = FindMassUnit(mass, reading.massUnit);
    if (!reading.massRead) reading.fault = CostFault::kUnknownMassUnit;
    return reading;
}

const char* DescribeCostFault(CostFault fault) noexcept {
    switch (fault) {
    case CostFault::kAmountNotNumber:
        return "the cost holds a character other than digits, '.' and ','; the material has no cost";
    case CostFault::kNoAmount:
        return "no number reads from the cost; the cost is 0";
    case CostFault::kNoSingleSlash:
        return "the cost's unit is not currency/mass unit (one '/'); the cost is 0 and not defined";
    case CostFault::kEmptyPart:
        return "the cost's unit has no currency or no mass unit; the cost is 0 and not defined";
    case CostFault::kUnknownMassUnit:
        return "the cost's mass unit is not mg, g, kg or lb (or their long forms); the cost is 0 and not defined";
    case CostFault::kNone:
        break;
    }
    return "";
}

}  // namespace kxt::model

void kxtMaterialBase::SetMaterialCostData(const std::u16string& costText, const std::u16string& unitText) {
    const kxt::model::CostReading reading = kxt::model::ReadCostTexts(costText, unitText);
    if (!reading.amountRead) return;
    // A bad unit leaves the cost 0 and not defined; the parts read before the fault stay.
    const bool unitUsable = reading.fault == kxt::model::CostFault::kNone ||
                            reading.fault == kxt::model::CostFault::kNoAmount;
    cost_.costPerUnitMass = unitUsable ? reading.amount : 0.0;
    cost_.defined = unitUsable;
    if (!reading.unitRead) return;
    cost_.currency.assign(reading.currency);
    cost_.unitString.assign(reading.unit);
    if (reading.massRead) cost_.massUnits = reading.massUnit;
}

void kxtMaterialBase::GetMaterialCostData(kxtMaterialCostData& out) const { out = cost_; }
