#pragma once
// A strict reader of the JSON that orbisk-cli prints, for checking its contract: objects keep
// their keys in the order written, strings must be valid UTF-8, and anything that is not JSON
// (trailing commas, bare control characters, a second value) is an error with its position.
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace orbisk::test {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string numberText;  // as written, to tell integers from fractions
    std::string string;
    std::vector<JsonValue> items;                            // Array
    std::vector<std::pair<std::string, JsonValue>> members;  // Object, in written order

    bool IsInteger() const {
        return kind == Kind::Number && numberText.find_first_of(".eE") == std::string::npos;
    }
    std::vector<std::string> Keys() const {
        std::vector<std::string> keys;
        for (const auto& m : members) keys.push_back(m.first);
        return keys;
    }
    // The member of an object; throws when there is none, so a missing key fails the test loudly.
    const JsonValue& operator[](const std::string& key) const {
        for (const auto& m : members) {
            if (m.first == key) return m.second;
        }
        throw std::runtime_error("no key \"" + key + "\"");
    }
    const JsonValue& operator[](std::size_t i) const { return items.at(i); }
    bool Has(const std::string& key) const {
        for (const auto& m : members) {
            if (m.first == key) return true;
        }
        return false;
    }
};

class JsonReader {
public:
    // Parses a whole text holding exactly one value (surrounding white space allowed).
    static JsonValue Parse(const std::string& text) {
        JsonReader r(text);
        r.SkipSpace();
        JsonValue v = r.Value(0);
        r.SkipSpace();
        if (r.pos_ != text.size()) r.Fail("text after the value");
        return v;
    }

private:
    explicit JsonReader(const std::string& text) : s_(text) {}

    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(pos_));
    }
    void SkipSpace() {
        while (pos_ < s_.size() &&
               (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r')) {
            ++pos_;
        }
    }
    char Peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
    void Expect(char c) {
        if (Peek() != c) Fail(std::string("expected '") + c + "'");
        ++pos_;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (s_.compare(pos_, w.size(), w) != 0) return false;
        pos_ += w.size();
        return true;
    }

    JsonValue Value(int depth) {
        if (depth > 64) Fail("nesting too deep");
        JsonValue v;
        const char c = Peek();
        if (c == '{') {
            v.kind = JsonValue::Kind::Object;
            ++pos_;
            SkipSpace();
            if (Peek() == '}') {
                ++pos_;
                return v;
            }
            for (;;) {
                SkipSpace();
                if (Peek() != '"') Fail("expected a key");
                std::string key = String();
                for (const auto& m : v.members) {
                    if (m.first == key) Fail("duplicate key " + key);
                }
                SkipSpace();
                Expect(':');
                SkipSpace();
                v.members.emplace_back(std::move(key), Value(depth + 1));
                SkipSpace();
                if (Peek() == ',') {
                    ++pos_;
                    continue;
                }
                Expect('}');
                return v;
            }
        }
        if (c == '[') {
            v.kind = JsonValue::Kind::Array;
            ++pos_;
            SkipSpace();
            if (Peek() == ']') {
                ++pos_;
                return v;
            }
            for (;;) {
                SkipSpace();
                v.items.push_back(Value(depth + 1));
                SkipSpace();
                if (Peek() == ',') {
                    ++pos_;
                    continue;
                }
                Expect(']');
                return v;
            }
        }
        if (c == '"') {
            v.kind = JsonValue::Kind::String;
            v.string = String();
            return v;
        }
        if (Literal("true")) {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = true;
            return v;
        }
        if (Literal("false")) {
            v.kind = JsonValue::Kind::Bool;
            return v;
        }
        if (Literal("null")) return v;
        if (c == '-' || (c >= '0' && c <= '9')) return Number();
        Fail("unexpected character");
    }

    JsonValue Number() {
        const std::size_t start = pos_;
        if (Peek() == '-') ++pos_;
        if (Peek() == '0') {
            ++pos_;
        } else if (Peek() >= '1' && Peek() <= '9') {
            while (Peek() >= '0' && Peek() <= '9') ++pos_;
        } else {
            Fail("bad number");
        }
        if (Peek() == '.') {
            ++pos_;
            if (!(Peek() >= '0' && Peek() <= '9')) Fail("bad fraction");
            while (Peek() >= '0' && Peek() <= '9') ++pos_;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++pos_;
            if (Peek() == '+' || Peek() == '-') ++pos_;
            if (!(Peek() >= '0' && Peek() <= '9')) Fail("bad exponent");
            while (Peek() >= '0' && Peek() <= '9') ++pos_;
        }
        JsonValue v;
        v.kind = JsonValue::Kind::Number;
        v.numberText = s_.substr(start, pos_ - start);
        v.number = std::stod(v.numberText);
        return v;
    }

    static void AppendUtf8(std::string& out, std::uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    std::uint32_t Hex4() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Peek();
            int d = -1;
            if (c >= '0' && c <= '9') d = c - '0';
            if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            if (d < 0) Fail("bad \\u escape");
            v = v * 16 + static_cast<std::uint32_t>(d);
            ++pos_;
        }
        return v;
    }

    std::string String() {
        Expect('"');
        std::string out;
        for (;;) {
            if (pos_ >= s_.size()) Fail("unterminated string");
            const auto c = static_cast<unsigned char>(s_[pos_]);
            if (c == '"') {
                ++pos_;
                return out;
            }
            if (c < 0x20) Fail("bare control character in a string");
            if (c == '\\') {
                ++pos_;
                const char e = Peek();
                ++pos_;
                switch (e) {
                    case '"':
                        out += '"';
                        break;
                    case '\\':
                        out += '\\';
                        break;
                    case '/':
                        out += '/';
                        break;
                    case 'b':
                        out += '\b';
                        break;
                    case 'f':
                        out += '\f';
                        break;
                    case 'n':
                        out += '\n';
                        break;
                    case 'r':
                        out += '\r';
                        break;
                    case 't':
                        out += '\t';
                        break;
                    case 'u': {
                        std::uint32_t cp = Hex4();
                        if (cp >= 0xD800 && cp <= 0xDBFF) {
                            if (!Literal("\\u")) Fail("lone high surrogate");
                            const std::uint32_t low = Hex4();
                            if (low < 0xDC00 || low > 0xDFFF) Fail("bad low surrogate");
                            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                            Fail("lone low surrogate");
                        }
                        AppendUtf8(out, cp);
                        break;
                    }
                    default:
                        Fail("bad escape");
                }
                continue;
            }
            // A raw UTF-8 sequence, checked byte by byte.
            int extra = c < 0x80             ? 0
                        : (c & 0xE0) == 0xC0 ? 1
                        : (c & 0xF0) == 0xE0 ? 2
                        : (c & 0xF8) == 0xF0 ? 3
                                             : -1;
            if (extra < 0) Fail("invalid UTF-8 lead byte");
            std::uint32_t cp = extra == 0   ? c
                               : extra == 1 ? (c & 0x1F)
                               : extra == 2 ? (c & 0x0F)
                                            : (c & 0x07);
            if (pos_ + static_cast<std::size_t>(extra) >= s_.size()) Fail("truncated UTF-8");
            for (int k = 1; k <= extra; ++k) {
                const auto cc = static_cast<unsigned char>(s_[pos_ + static_cast<std::size_t>(k)]);
                if ((cc & 0xC0) != 0x80) Fail("invalid UTF-8 continuation");
                cp = (cp << 6) | (cc & 0x3F);
            }
            static constexpr std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
            if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
                Fail("overlong or out-of-range UTF-8");
            }
            out.append(s_, pos_, static_cast<std::size_t>(extra) + 1);
            pos_ += static_cast<std::size_t>(extra) + 1;
        }
    }

    const std::string& s_;
    std::size_t pos_ = 0;
};

}  // namespace orbisk::test
