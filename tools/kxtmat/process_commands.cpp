// processes, default-process, common: manufacturing processes of materials and classes.
#include "cli_error.h"
#include "commands.h"
#include "describe.h"
#include "lookup.h"

namespace kxt::cli {

Result RunProcesses(Context& context, const CommandArgs& args) {
    const std::u16string& name = args.positionals[0];
    const std::u16string* library = args.Find("--library");
    const kxtMaterialBase* material = FindMaterial(context.manager, name, library);
    if (material == nullptr) return {Json(), "no material named " + Quoted(name)};

    // A linked material lends its processes, as it does to the module's process queries.
    const kxtMaterialBase* link = material->GetSageLink();
    const kxtMaterialBase& owner = link != nullptr ? *link : *material;
    std::u16string defaultProcess;
    context.manager.GetDefaultProcessForAnyMaterial(material->GetName(), LibraryOf(*material), defaultProcess);

    Json processes = Json::array();
    for (const kxtManufacturingProcess& process : owner.GetManufacturingTypes())
        processes.push_back(DescribeProcess(process, owner));
    Json described = DescribeReference(*material);
    described["processes_from"] = DescribeReferenceOrNull(link);
    described["default_process"] = defaultProcess;
    described["processes"] = std::move(processes);
    return {std::move(described), {}};
}

Result RunDefaultProcess(Context& context, const CommandArgs& args) {
    const std::u16string& className = args.positionals[0];
    std::u16string process;
    context.manager.GetDefaultProcess(className, process);
    if (process.empty()) return {Json(), "no default process for class " + Quoted(className)};
    return {{{"class", className}, {"default_process", process}}, {}};
}

Result RunCommon(Context& context, const CommandArgs& args) {
    std::vector<std::u16string> processes;
    context.manager.GetInCommonProcesses(args.positionals, processes);
    if (processes.empty()) return {Json(), "no process in common"};
    return {{{"classes", args.positionals}, {"processes", processes}}, {}};
}

}  // namespace kxt::cli
