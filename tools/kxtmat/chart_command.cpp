// chart: the materials of a library on a chart of two properties, as SVG, or
// the plotted data as JSON.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "chart_data.h"
#include "chart_svg.h"
#include "cli_error.h"
#include "commands.h"
#include "document.h"
#include "lookup.h"
#include "property_search.h"
#include "search_expression.h"

namespace kxt::cli {
namespace {

// The library named by --library, else the standard library.
kxtMaterialDB& ChartLibrary(kxtMaterialDBsManager& manager, const std::u16string* library) {
    const std::vector<kxtMaterialDB*> databases = Databases(manager, library);
    const auto found = std::ranges::find_if(databases, [&](const kxtMaterialDB* db) {
        return library != nullptr || db->GetDBType() == eKxtNativeDB;
    });
    if (found != databases.end()) return **found;
    if (library != nullptr) throw UsageError("no library named " + Quoted(*library));
    throw UsageError("no standard library is loaded; name one with --library");
}

std::vector<const kxtMaterialClass*> ChosenClasses(kxtMaterialDB& db, const std::vector<std::u16string>& names) {
    std::vector<const kxtMaterialClass*> classes;
    for (const std::u16string& name : names) {
        const kxtMaterialClass* group = db.FindMaterialGroup(name);
        if (group == nullptr) throw UsageError("no class named " + Quoted(name) + " in library " + Quoted(db.GetDbName()));
        classes.push_back(group);
    }
    return classes;
}

// The property that word names, as a search expression without a condition
// names it; some material of db must have a value for it.
std::u16string PropertyOf(const kxtMaterialDB& db, const std::u16string& word) {
    const auto criterion = ParseSearchExpression(word);
    if (!criterion || criterion->GetCondition() != kxtPhysPropSearchCriterionDef::eAny)
        throw UsageError("chart needs property abbreviations or \"Material Cost\", not " + Quoted(word));
    kxtSearchCriterionsSet criteria;
    criteria.InsertCriterion(*criterion);
    if (SearchLibrary(db, criteria, nullptr).empty())
        throw UsageError("no material of library " + Quoted(db.GetDbName()) + " has the property " + Quoted(word));
    return criterion->GetName();
}

std::vector<double> Slopes(const std::vector<std::u16string>& words) {
    std::vector<double> slopes;
    for (const std::u16string& word : words) {
        const std::optional<double> slope = ParseNumber(word);
        if (!slope) throw UsageError("--guide needs a number, not " + Quoted(word));
        slopes.push_back(*slope);
    }
    return slopes;
}

Json AxisJson(const ChartAxis& axis, bool log) {
    return {{"property", axis.property},
            {"name", axis.name},
            {"scale", log ? "logarithmic" : "linear"}};
}

Json ChartDocument(const ChartData& data) {
    Json points = Json::array();
    for (const ChartPoint& point : data.points)
        points.push_back({{"library", data.library},
                          {"class", data.classes[point.group]},
                          {"material", point.material},
                          {"x", point.x},
                          {"y", point.y}});
    Json leftOut = Json::array();
    for (const LeftOut& out : data.leftOut)
        leftOut.push_back({{"library", data.library},
                           {"class", out.className},
                           {"material", out.material},
                           {"property", out.onX ? data.x.property : data.y.property},
                           {"reason", out.reason == LeftOutReason::kNoValue ? "no value" : "not positive"}});
    return {{"library", data.library},
            {"x", AxisJson(data.x, data.log)},
            {"y", AxisJson(data.y, data.log)},
            {"points", std::move(points)},
            {"left_out", std::move(leftOut)}};
}

void WriteFile(const std::u16string& path, const std::string& bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file << bytes;
    file.close();
    if (!file) throw CliError(kExitUsage, "cannot write " + Quoted(path));
}

}  // namespace

Result RunChart(Context& context, const CommandArgs& args) {
    kxtMaterialDB& db = ChartLibrary(context.manager, args.Find("--library"));
    const std::vector<const kxtMaterialClass*> classes = ChosenClasses(db, args.All("--class"));
    const std::u16string x = PropertyOf(db, args.positionals[0]);
    const std::u16string y = PropertyOf(db, args.positionals[1]);
    const bool log = args.Find("--linear") == nullptr;
    ChartStyle style{{}, Slopes(args.All("--guide"))};
    if (const std::u16string* title = args.Find("--title")) style.title = platform::Utf16ToUtf8(*title);

    const ChartData data = GatherChart(db, classes, x, y, log);
    if (data.points.empty())
        return {Json(), "no material of " + Quoted(db.GetDbName()) + " has values for both " + Quoted(x) + " and " +
                        Quoted(y) + (log ? " above zero" : "")};
    std::string output = context.json ? WriteJson(ChartDocument(data)) : DrawChart(data, style);
    if (const std::u16string* file = args.Find("--out")) {
        WriteFile(*file, output);
        output.clear();
    }
    return {Json(), {}, std::move(output)};
}

}  // namespace kxt::cli
