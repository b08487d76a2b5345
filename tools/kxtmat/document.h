// What a command answers: an ordered JSON tree (members keep the order in
// which they were added), written as JSON or as readable text. The model's
// UTF-16 strings convert to JSON strings as UTF-8.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/text.h"

namespace kxt::cli {

using Json = nlohmann::ordered_json;

// The shortest text that reads back as the same double ("7.85", "2e+08").
std::string FormatNumber(double value);

// The JSON text of node, indented by two spaces, ending with a newline.
// Doubles are written as FormatNumber writes them (null when not finite);
// strings are UTF-8 with '"', '\', control characters and DEL escaped.
std::string WriteJson(const Json& node);

}  // namespace kxt::cli

NLOHMANN_JSON_NAMESPACE_BEGIN
template <>
struct adl_serializer<std::u16string> {
    template <class BasicJson>
    static void to_json(BasicJson& json, std::u16string_view text) {
        json = kxt::platform::Utf16ToUtf8(text);
    }
};
NLOHMANN_JSON_NAMESPACE_END
