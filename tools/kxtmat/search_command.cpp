// search: materials of one library whose properties satisfy every criterion.
#include "cli_error.h"
#include "commands.h"
#include "describe.h"
#include "lookup.h"
#include "property_search.h"
#include "search_expression.h"

namespace kxt::cli {
namespace {

kxtSearchCriterionsSet ParseCriteria(const std::vector<std::u16string>& expressions) {
    if (expressions.empty()) throw UsageError("search needs --where EXPR (see kxtmat --help)");
    kxtSearchCriterionsSet criteria;
    for (const std::u16string& expression : expressions) {
        const auto criterion = ParseSearchExpression(expression);
        if (!criterion)
            throw UsageError("malformed search expression " + Quoted(expression) +
                             " (expected ABB>VALUE, ABB<VALUE, ABB~VALUE or ABB)");
        criteria.InsertCriterion(*criterion);
    }
    return criteria;
}

Json DescribeCriteria(const kxtSearchCriterionsSet& criteria) {
    Json described = Json::array();
    for (int i = 0; i < criteria.GetCount(); ++i) {
        kxtPhysPropSearchCriterionDef criterion;
        criteria.GetCriterion(static_cast<unsigned int>(i), criterion);
        described.push_back({{"property", criterion.GetName()},
                             {"condition", ConditionName(criterion.GetCondition())},
                             {"value", criterion.GetValue()}});
    }
    return described;
}

}  // namespace

Result RunSearch(Context& context, const CommandArgs& args) {
    const std::u16string* library = args.Find("--library");
    if (library == nullptr) throw UsageError("search needs --library NAME (see kxtmat --help)");
    kxtSearchCriterionsSet criteria = ParseCriteria(args.All("--where"));
    const std::u16string* className = args.Find("--class");
    const std::u16string* excluded = args.Find("--exclude");

    const std::vector<kxtMaterialDB*> databases = Databases(context.manager, library);
    if (databases.empty()) return {Json(), "no library named " + Quoted(*library)};
    kxtMaterialDB& db = *databases.front();
    kxtMaterialClass* group = nullptr;
    if (className != nullptr) {
        group = db.FindMaterialGroup(*className);
        if (group == nullptr) return {Json(), "no class named " + Quoted(*className) + " in library " + Quoted(*library)};
    }
    Json materials = Json::array();
    for (const kxtMaterialBase* material :
         SearchLibrary(db, criteria, group, excluded != nullptr ? *excluded : std::u16string()))
        materials.push_back(DescribeReference(*material));
    if (materials.empty()) return {Json(), "no material of " + Quoted(*library) + " meets the criteria"};
    return {{{"library", db.GetDbName()},
             {"class", group != nullptr ? Json(group->GetName()) : Json()},
             {"criteria", DescribeCriteria(criteria)},
             {"materials", std::move(materials)}},
            {}};
}

}  // namespace kxt::cli
