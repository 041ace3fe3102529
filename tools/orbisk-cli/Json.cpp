#include "Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace orbisk::cli {

void JsonWriter::Separator() {
    if (needComma_) out_ += ',';
    needComma_ = true;
}

JsonWriter& JsonWriter::BeginObject() {
    Separator();
    out_ += '{';
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    out_ += '}';
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    Separator();
    out_ += '[';
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    out_ += ']';
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    String(key);
    out_ += ':';
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view value) {
    Separator();
    out_ += '"';
    for (char c : value) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (u < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", u);
                    out_ += buf;
                } else {
                    out_ += c;
                }
        }
    }
    out_ += '"';
    return *this;
}

JsonWriter& JsonWriter::Number(long long value) {
    Separator();
    out_ += std::to_string(value);
    return *this;
}

template <typename T>
static void AppendShortest(std::string& out, T value) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, result.ptr);
}

JsonWriter& JsonWriter::Number(double value) {
    Separator();
    if (!std::isfinite(value)) {
        out_ += "null";
    } else {
        AppendShortest(out_, value);
    }
    return *this;
}

JsonWriter& JsonWriter::Number(float value) {
    Separator();
    if (!std::isfinite(value)) {
        out_ += "null";
    } else {
        AppendShortest(out_, value);
    }
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    Separator();
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    Separator();
    out_ += "null";
    return *this;
}

}  // namespace orbisk::cli
