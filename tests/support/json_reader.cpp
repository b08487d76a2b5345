#include "support/json_reader.h"

#include <charconv>
#include <cmath>

#include "platform/text.h"

namespace kxt::test {
namespace {

const JsonValue& NullValue() {
    static const JsonValue null;
    return null;
}

constexpr int kMaxDepth = 512;

}  // namespace

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> Document(std::string* error) {
        JsonValue value;
        SkipBlanks();
        if (Value(value, 0)) {
            SkipBlanks();
            if (at_ == text_.size()) return value;
            Fail("trailing content");
        }
        if (error != nullptr) *error = error_ + " at offset " + std::to_string(at_);
        return std::nullopt;
    }

private:
    bool Fail(const char* what) {
        if (error_.empty()) error_ = what;
        return false;
    }

    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    bool Consume(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool Literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return Fail("unknown literal");
        at_ += word.size();
        return true;
    }

    bool Value(JsonValue& out, int depth) {
        if (depth > kMaxDepth) return Fail("nesting too deep");
        if (at_ >= text_.size()) return Fail("unexpected end");
        switch (text_[at_]) {
        case '{': return Object(out, depth);
        case '[': return Array(out, depth);
        case '"': out.type_ = JsonValue::Type::kString; return String(out.string_);
        case 't': out.type_ = JsonValue::Type::kBool; out.bool_ = true; return Literal("true");
        case 'f': out.type_ = JsonValue::Type::kBool; return Literal("false");
        case 'n': return Literal("null");
        default: out.type_ = JsonValue::Type::kNumber; return Number(out.number_);
        }
    }

    // The entries of an object or array up to `close`, each read by readEntry.
    template <class ReadEntry>
    bool Entries(char close, ReadEntry&& readEntry) {
        ++at_;
        SkipBlanks();
        if (Consume(close)) return true;
        do {
            SkipBlanks();
            if (!readEntry()) return false;
            SkipBlanks();
        } while (Consume(','));
        return Consume(close) || Fail("expected ',' or the end of the object or array");
    }

    bool Object(JsonValue& out, int depth) {
        out.type_ = JsonValue::Type::kObject;
        return Entries('}', [&] {
            JsonValue::Member& member = out.members_.emplace_back();
            if (!String(member.first)) return false;
            SkipBlanks();
            if (!Consume(':')) return Fail("expected ':'");
            SkipBlanks();
            return Value(member.second, depth + 1);
        });
    }

    bool Array(JsonValue& out, int depth) {
        out.type_ = JsonValue::Type::kArray;
        return Entries(']', [&] { return Value(out.items_.emplace_back(), depth + 1); });
    }

    bool Hex4(char16_t& out) {
        if (text_.size() - at_ < 4) return Fail("short \\u escape");
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text_.data() + at_, text_.data() + at_ + 4, value, 16);
        if (error != std::errc() || end != text_.data() + at_ + 4) return Fail("bad \\u escape");
        at_ += 4;
        out = static_cast<char16_t>(value);
        return true;
    }

    bool Escape(std::string& out) {
        if (at_ >= text_.size()) return Fail("unexpected end");
        const char c = text_[at_++];
        switch (c) {
        case '"': case '\\': case '/': out.push_back(c); return true;
        case 'b': out.push_back('\b'); return true;
        case 'f': out.push_back('\f'); return true;
        case 'n': out.push_back('\n'); return true;
        case 'r': out.push_back('\r'); return true;
        case 't': out.push_back('\t'); return true;
        case 'u': break;
        default: return Fail("unknown escape");
        }
        char16_t units[2] = {};
        if (!Hex4(units[0])) return false;
        std::size_t count = 1;
        if (units[0] >= 0xD800 && units[0] <= 0xDBFF) {
            if (!Consume('\\') || !Consume('u') || !Hex4(units[1]) || units[1] < 0xDC00 || units[1] > 0xDFFF)
                return Fail("unpaired surrogate");
            count = 2;
        } else if (units[0] >= 0xDC00 && units[0] <= 0xDFFF) {
            return Fail("unpaired surrogate");
        }
        out += platform::Utf16ToUtf8(std::u16string_view(units, count));
        return true;
    }

    bool String(std::string& out) {
        if (!Consume('"')) return Fail("expected string");
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in string");
            if (c != '\\') {
                out.push_back(c);
            } else if (!Escape(out)) {
                return false;
            }
        }
        return Fail("unterminated string");
    }

    // JSON's number grammar: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    bool Number(double& out) {
        const std::size_t start = at_;
        auto digits = [&] {
            const std::size_t first = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
            return at_ > first;
        };
        Consume('-');
        if (Consume('0')) {
            // no further integer digits
        } else if (!digits()) {
            return Fail("expected a value");
        }
        if (Consume('.') && !digits()) return Fail("expected digits after '.'");
        if (Consume('e') || Consume('E')) {
            if (!Consume('+')) Consume('-');
            if (!digits()) return Fail("expected exponent digits");
        }
        const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + at_, out);
        if (error != std::errc() || end != text_.data() + at_ || !std::isfinite(out)) return Fail("bad number");
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string error_;
};

const JsonValue& JsonValue::operator[](std::string_view key) const {
    for (const auto& [name, value] : members_)
        if (name == key) return value;
    return NullValue();
}

const JsonValue& JsonValue::operator[](std::size_t index) const {
    return index < items_.size() ? items_[index] : NullValue();
}

bool JsonValue::Has(std::string_view key) const {
    for (const auto& member : members_)
        if (member.first == key) return true;
    return false;
}

std::optional<JsonValue> ParseJson(std::string_view text, std::string* error) {
    return JsonParser(text).Document(error);
}

}  // namespace kxt::test
