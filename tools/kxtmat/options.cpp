#include "options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

#include "cli_error.h"
#include "platform/text.h"

namespace kxt::cli {
namespace {

constexpr std::u16string_view kLibraryExtension = u".kvxmat";

// A word that starts with '-' is an option, unless it is a negative number.
bool IsOption(std::string_view word) {
    return word.size() > 1 && word[0] == '-' && !(std::isdigit(static_cast<unsigned char>(word[1])) || word[1] == '.');
}

bool IsLibraryPath(std::u16string_view word) {
    return platform::EndsWithNoCase(word, kLibraryExtension);
}

unsigned short ParseHostVersion(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || value > 0xFFFF)
        throw UsageError("--host-version needs a number from 0 to 65535, not '" + std::string(text) + "'");
    return static_cast<unsigned short>(value);
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& words) : words_(words) {}

    Options Run() {
        bool optionsEnded = false;
        while (next_ < words_.size()) {
            const std::string& word = words_[next_++];
            if (!optionsEnded && word == "--") {
                optionsEnded = true;
            } else if (!optionsEnded && IsOption(word)) {
                Option(word);
            } else if (options_.command != nullptr) {
                options_.args.positionals.push_back(platform::Utf8ToUtf16(word));
            } else if (const CommandDef* command = FindCommand(word)) {
                options_.command = command;
            } else if (std::u16string path = platform::Utf8ToUtf16(word); IsLibraryPath(path)) {
                options_.libraries.push_back(std::move(path));
            } else {
                throw UsageError("unknown command '" + word + "' (see kxtmat --help)");
            }
        }
        if (options_.command == nullptr) options_.command = FindCommand("summary");
        if (!options_.help && !options_.version) CheckPositionals(*options_.command);
        return std::move(options_);
    }

private:
    // The option's value: the text after '=' in the option's word, else the
    // next word unless that is an option itself.
    std::string Value(const std::string& option) {
        if (attached_) {
            if (!attached_->empty()) return *std::exchange(attached_, std::nullopt);
        } else if (next_ < words_.size() && !IsOption(words_[next_])) {
            return words_[next_++];
        }
        throw UsageError("option " + option + " needs a value");
    }

    bool Flag(const std::string& option) {
        if (attached_) throw UsageError("option " + option + " takes no value");
        return true;
    }

    void Option(const std::string& word) {
        const std::size_t equals = word.find('=');
        const std::string option = word.substr(0, equals);
        attached_.reset();
        if (equals != std::string::npos) attached_ = word.substr(equals + 1);
        if (option == "--json") {
            options_.json = Flag(option);
        } else if (option == "--help" || option == "-h") {
            options_.help = Flag(option);
        } else if (option == "--version") {
            options_.version = Flag(option);
        } else if (option == "--install") {
            options_.installDir = platform::Utf8ToUtf16(Value(option));
        } else if (option == "--language") {
            options_.language = Value(option);
        } else if (option == "--user-data") {
            options_.userDataDir = platform::Utf8ToUtf16(Value(option));
        } else if (option == "--registry") {
            options_.registryFile = Value(option);
        } else if (option == "--host-version") {
            options_.hostVersion = ParseHostVersion(Value(option));
        } else {
            CommandOption(option);
        }
    }

    void CommandOption(const std::string& option) {
        const CommandDef* command = options_.command;
        if (command != nullptr && !command->listOption.empty() && option == command->listOption) {
            options_.args.options.emplace_back(option, platform::Utf8ToUtf16(Value(option)));
            while (next_ < words_.size() && !IsOption(words_[next_]))
                options_.args.options.emplace_back(option, platform::Utf8ToUtf16(words_[next_++]));
            return;
        }
        if (command != nullptr && !command->flag.empty() && option == command->flag) {
            Flag(option);
            options_.args.options.emplace_back(option, std::u16string());
            return;
        }
        if (command != nullptr && std::ranges::find(command->options, option) != command->options.end()) {
            options_.args.options.emplace_back(option, platform::Utf8ToUtf16(Value(option)));
            return;
        }
        const std::string where = command != nullptr ? " for '" + std::string(command->name) + "'" : "";
        throw UsageError("unknown option '" + option + "'" + where + " (see kxtmat --help)");
    }

    void CheckPositionals(const CommandDef& command) const {
        const std::size_t count = options_.args.positionals.size();
        if (count < command.minPositionals || count > command.maxPositionals)
            throw UsageError("wrong number of arguments; usage: kxtmat " + std::string(command.usage));
    }

    const std::vector<std::string>& words_;
    std::size_t next_ = 0;
    std::optional<std::string> attached_;  // the value after '=' in the current option's word
    Options options_;
};

}  // namespace

Options ParseArguments(const std::vector<std::string>& arguments) {
    return Parser(arguments).Run();
}

std::string HelpText() {
    std::string text =
        "usage: kxtmat [OPTIONS] [LIBRARY.kvxmat...] [COMMAND [ARGS]]\n"
        "\n"
        "Loads a Korvex installation as the environmental-impact add-in does and\n"
        "answers questions about its materials.\n"
        "\n"
        "options:\n"
        "  --install DIR       installation folder (default: the sample installation)\n"
        "  --language NAME     user-interface language: english, french, german, ...\n"
        "  --user-data DIR     the user's sustainability data folder (default: the sample's user/)\n"
        "  --registry FILE     registry export holding the favourites (default: $KXT_REGISTRY_FILE,\n"
        "                      else the sample's registry.reg; not on Windows, where the\n"
        "                      favourites come from the registry itself)\n"
        "  --host-version N    host version; the favourites key is \"Korvex <1992+N>\" (default: 33)\n"
        "  --json              answer in JSON instead of text\n"
        "  --help              this text\n"
        "  --version           the version of kxtmat\n"
        "  LIBRARY.kvxmat      custom libraries (default: the sample's custom library)\n"
        "An option's value follows it as the next word or after '=' (--library=NAME);\n"
        "'--' ends the options: every later word is an argument.\n"
        "\n"
        "commands (default: summary):\n";
    for (const CommandDef& command : Commands()) text.append("  ").append(command.usage).push_back('\n');
    text +=
        "\n"
        "search expressions: ABB>VALUE, ABB<VALUE, ABB~VALUE (within 5%) or ABB (any value),\n"
        "where ABB is a property abbreviation (DENS, ...) or the cost criterion (\"Material Cost\").\n"
        "\n"
        "lint [FILE...]: the loaders' findings about the files, or the whole installation,\n"
        "as FILE:LINE:COLUMN: SEVERITY: CODE: MESSAGE lines (see README).\n"
        "\n"
        "exit status: 0 found (lint: no finding), 1 not found (lint: some finding),\n"
        "2 usage error or unreadable input.\n";
    return text;
}

}  // namespace kxt::cli
