// Criteria of a search of a database by physical properties and cost.
#pragma once

#include <string>
#include <vector>

#include "kxtmat/export.h"

class kxtMaterialDB;

// One condition on one property, named by its abbreviation (or by the name of
// the cost criterion). The condition and value of a new criterion are
// unspecified until set.
class KXTMAT_API kxtPhysPropSearchCriterionDef {
public:
    // How a material's value v must relate to the criterion's value c.
    enum eSearchCondition : int {
        eAny = 0,            // always
        eGreaterThan = 1,    // v > c
        eLessThan = 2,       // v < c
        eApproximately = 3,  // (v - c) / c within the relative tolerance of the search
    };

    kxtPhysPropSearchCriterionDef() = default;
    kxtPhysPropSearchCriterionDef(const kxtPhysPropSearchCriterionDef&) = default;
    kxtPhysPropSearchCriterionDef(kxtPhysPropSearchCriterionDef&&) noexcept = default;
    kxtPhysPropSearchCriterionDef& operator=(const kxtPhysPropSearchCriterionDef&) = default;
    kxtPhysPropSearchCriterionDef& operator=(kxtPhysPropSearchCriterionDef&&) noexcept = default;
    virtual ~kxtPhysPropSearchCriterionDef();

    const std::u16string& GetName() const { return name_; }
    void SetName(std::u16string name);
    eSearchCondition GetCondition() const { return condition_; }
    void SetCondition(eSearchCondition condition);
    double GetValue() const { return value_; }
    void SetValue(double value);

private:
    std::u16string name_;
    eSearchCondition condition_ = eAny;
    double value_ = 0.0;
};

// A search request: the class to search (-1 for all), the criteria that must
// all hold, and a find-similar-units setting that the host keeps with it.
class KXTMAT_API kxtSearchCriterionsSet {
public:
    kxtSearchCriterionsSet() = default;
    kxtSearchCriterionsSet(const kxtSearchCriterionsSet&) = default;
    kxtSearchCriterionsSet(kxtSearchCriterionsSet&&) noexcept = default;
    kxtSearchCriterionsSet& operator=(const kxtSearchCriterionsSet&) = default;
    kxtSearchCriterionsSet& operator=(kxtSearchCriterionsSet&&) noexcept = default;
    virtual ~kxtSearchCriterionsSet();

    int GetClassIndex() const { return classIndex_; }
    // Stores the index as a signed value: 4294967295 stores -1 (all classes).
    void SetClassIndex(unsigned int index);
    // Stores values from 0 to 4; any other value stores 0.
    void SetFindSimilarUnits(int value);
    int GetFindSimilarUnits() const { return findSimilarUnits_; }

    void InsertCriterion(const kxtPhysPropSearchCriterionDef& criterion);
    // out = a copy of the criterion at index; out is left as it was when out of range.
    void GetCriterion(unsigned int index, kxtPhysPropSearchCriterionDef& out) const;
    // Replaces the criterion at index; nothing happens when out of range.
    void SetCriterion(unsigned int index, const kxtPhysPropSearchCriterionDef& criterion);
    int GetCount() const { return static_cast<int>(criteria_.size()); }
    // Removes every criterion; the class index and the setting stay.
    void Clear();

private:
    friend class kxtMaterialDB;  // the search reads the criteria in place

    int classIndex_ = -1;
    std::vector<kxtPhysPropSearchCriterionDef> criteria_;
    int findSimilarUnits_ = 0;
};
