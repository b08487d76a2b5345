// Parsing of a material's cost texts ("12.50", "EUR/kg").
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kxtmat/material_base.h"
#include "platform/text.h"

namespace {

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == u'\u00A0' ||
           c == u'\u3000';
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool IsAmountChar(char16_t c) { return c == u'.' || c == u',' || (c >= u'0' && c <= u'9'); }

// Reads a leading decimal number as a formatted "%lf" read would: it stops at
// the first character that cannot continue the number (a comma included) and
// gives 0 when nothing can be read. REQUIRES: every unit satisfies IsAmountChar.
double ReadLeadingNumber(std::u16string_view amount) {
    std::string narrow(amount.size(), '\0');
    std::transform(amount.begin(), amount.end(), narrow.begin(), [](char16_t c) { return static_cast<char>(c); });
    double value = 0.0;
    const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too many digits for a double: the C conversion saturates or underflows instead of failing.
        value = std::strtod(narrow.c_str(), nullptr);
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return value;
}

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

    cost_.costPerUnitMass = ReadLeadingNumber(amount);
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
