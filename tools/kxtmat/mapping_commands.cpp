// map, gabi: names rewritten between the native, language and GaBi vocabularies.
#include "cli_error.h"
#include "commands.h"

namespace kxt::cli {

Result RunMap(Context& context, const CommandArgs& args) {
    const std::u16string& direction = args.positionals[0];
    std::u16string className = args.positionals[1];
    std::u16string materialName = args.positionals[2];
    int mapped = 0;
    if (direction == u"lang")
        mapped = context.manager.MapToLang(className, materialName);
    else if (direction == u"native")
        mapped = context.manager.MapToNative(className, materialName);
    else
        throw UsageError("map needs 'lang' or 'native', not " + Quoted(direction));
    if (mapped == 0) return {Json(), "no standard material named " + Quoted(materialName) + " in class " + Quoted(className)};
    return {{{"class", className}, {"material", materialName}}, {}};
}

Result RunGabi(Context& context, const CommandArgs& args) {
    std::u16string className = args.positionals[0];
    std::u16string materialName = args.positionals[1];
    std::u16string processName = args.positionals[2];
    context.manager.PrepareMaterialDataToGabi(className, materialName, processName);
    const bool changed = className != args.positionals[0] || materialName != args.positionals[1] ||
                         processName != args.positionals[2];
    if (!changed) return {Json(), "no GaBi names for " + Quoted(materialName) + " in class " + Quoted(className)};
    return {{{"class", className}, {"material", materialName}, {"process", processName}}, {}};
}

}  // namespace kxt::cli
