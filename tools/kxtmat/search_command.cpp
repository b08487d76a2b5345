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

Node DescribeCriteria(const kxtSearchCriterionsSet& criteria) {
    Node described = Node::Array();
    for (int i = 0; i < criteria.GetCount(); ++i) {
        kxtPhysPropSearchCriterionDef criterion;
        criteria.GetCriterion(static_cast<unsigned int>(i), criterion);
        described.Append(Node::Object()
                             .Set("property", criterion.GetName())
                             .Set("condition", ConditionName(criterion.GetCondition()))
                             .Set("value", criterion.GetValue()));
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
    if (databases.empty()) return {Node(), "no library named " + Quoted(*library)};
    kxtMaterialDB& db = *databases.front();
    kxtMaterialClass* group = nullptr;
    if (className != nullptr) {
        group = db.FindMaterialGroup(*className);
        if (group == nullptr) return {Node(), "no class named " + Quoted(*className) + " in library " + Quoted(*library)};
    }
    Node materials = Node::Array();
    for (const kxtMaterialBase* material :
         SearchLibrary(db, criteria, group, excluded != nullptr ? *excluded : std::u16string()))
        materials.Append(DescribeReference(*material));
    if (materials.Items().empty()) return {Node(), "no material of " + Quoted(*library) + " meets the criteria"};
    return {Node::Object()
                .Set("library", db.GetDbName())
                .Set("class", group != nullptr ? Node(group->GetName()) : Node())
                .Set("criteria", DescribeCriteria(criteria))
                .Set("materials", std::move(materials)),
            {}};
}

}  // namespace kxt::cli
