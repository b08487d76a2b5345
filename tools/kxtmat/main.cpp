// kxtmat: loads an installation as the environmental-impact add-in does and
// answers questions about its materials. See kxtmat --help.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli_error.h"
#include "commands.h"
#include "installation.h"
#include "lint_command.h"
#include "document.h"
#include "options.h"
#include "platform/process.h"
#include "text_writer.h"

namespace {

int Run(const std::vector<std::string>& arguments) {
    using namespace kxt::cli;
    const Options options = ParseArguments(arguments);
    if (options.help) {
        std::cout << HelpText();
        return kExitFound;
    }
    if (options.version) {
        std::cout << "kxtmat " KXTMAT_VERSION "\n";
        return kExitFound;
    }
    if (options.command->run == nullptr) return RunLint(options);
    Installation installation(options);
    Context context{installation.Manager(), options.json};
    const Result result = options.command->run(context, options.args);
    std::cout << result.output;
    if (!result.document.is_null())
        std::cout << (options.json ? WriteJson(result.document) : WriteText(result.document));
    if (!result.notFound.empty()) {
        std::cerr << "kxtmat: " << result.notFound << '\n';
        return kExitNotFound;
    }
    return kExitFound;
}

}  // namespace

int main(int argc, char** argv) {
    kxt::platform::WriteStandardStreamsAsBytes();  // the same bytes on every platform
    try {
        return Run(kxt::platform::ProgramArguments(argc, argv));
    } catch (const kxt::cli::CliError& error) {
        std::cerr << "kxtmat: " << error.what() << '\n';
        return error.exitCode();
    } catch (const std::exception& error) {
        std::cerr << "kxtmat: " << error.what() << '\n';
        return kxt::cli::kExitUsage;
    }
}
