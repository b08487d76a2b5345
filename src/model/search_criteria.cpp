#include "kxtmat/search_criteria.h"

#include <utility>

kxtPhysPropSearchCriterionDef::~kxtPhysPropSearchCriterionDef() = default;

void kxtPhysPropSearchCriterionDef::SetName(std::u16string name) { name_ = std::move(name); }
void kxtPhysPropSearchCriterionDef::SetCondition(eSearchCondition condition) { condition_ = condition; }
void kxtPhysPropSearchCriterionDef::SetValue(double value) { value_ = value; }

kxtSearchCriterionsSet::~kxtSearchCriterionsSet() = default;

void kxtSearchCriterionsSet::SetClassIndex(unsigned int index) { classIndex_ = static_cast<int>(index); }

void kxtSearchCriterionsSet::SetFindSimilarUnits(int value) { findSimilarUnits_ = value >= 0 && value <= 4 ? value : 0; }

void kxtSearchCriterionsSet::InsertCriterion(const kxtPhysPropSearchCriterionDef& criterion) {
    criteria_.push_back(criterion);
}

void kxtSearchCriterionsSet::GetCriterion(unsigned int index, kxtPhysPropSearchCriterionDef& out) const {
    if (index < criteria_.size()) out = criteria_[index];
}

void kxtSearchCriterionsSet::SetCriterion(unsigned int index, const kxtPhysPropSearchCriterionDef& criterion) {
    if (index < criteria_.size()) criteria_[index] = criterion;
}

void kxtSearchCriterionsSet::Clear() { criteria_.clear(); }
