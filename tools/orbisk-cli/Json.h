#pragma once
// A minimal JSON writer for the command line's output: UTF-8 strings escaped, numbers written
// in their shortest exact form, NaN and infinities as null.
#include <string>
#include <string_view>

namespace orbisk::cli {

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view value);
    JsonWriter& Number(long long value);
    JsonWriter& Number(double value);
    JsonWriter& Number(float value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    const std::string& Text() const { return out_; }

private:
    void Separator();
    std::string out_;
    bool needComma_ = false;
};

}  // namespace orbisk::cli
