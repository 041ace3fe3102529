#include "image/DataFile.h"

#include <fstream>
#include <system_error>

#include "base/FileReplace.h"
#include "base/TextCodec.h"
#include "image/Messages.h"

namespace orbisk {
namespace {

std::string PathText(const std::filesystem::path& path) {
    const std::u8string u8 = path.u8string();
    return std::string(reinterpret_cast<const char*>(u8.data()), u8.size());
}

}  // namespace

std::string BadFileSizeText(std::uintmax_t size) {
    return msg::kBadFileSizePrefix + std::to_string(size) + msg::kBadFileSizeSuffix;
}

bool ReadDataFile(const std::filesystem::path& path, RecorderImage& image, Prompter& prompter) {
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(path, ec)) {
        prompter.Message(msg::kCannotOpenFilePrefix + ("\"" + PathText(path) + "\"."),
                         MessageIcon::Error);
        return false;
    }
    // Read into a scratch buffer first: a short or unreadable file must not touch the image.
    RecorderImage scratch;
    in.read(reinterpret_cast<char*>(scratch.Data()), static_cast<std::streamsize>(kImageSize));
    const auto got = static_cast<std::uintmax_t>(in.gcount());
    if (got < kImageSize) {
        prompter.Message(BadFileSizeText(got), MessageIcon::Error);
        return false;
    }
    image = scratch;
    return true;
}

std::string WriteDataFile(const std::filesystem::path& path, const RecorderImage& image,
                          std::string_view tail) {
    std::string bytes(reinterpret_cast<const char*>(image.Data()), kImageSize);
    bytes += tail;
    return WriteFailureText(path, ReplaceFileContents(path, bytes));
}

std::string WriteFailureText(const std::filesystem::path& path, ReplaceResult result) {
    switch (result) {
        case ReplaceResult::Replaced:
            return {};
        case ReplaceResult::NotWritten:
            return msg::kWriteErrorPrefix + ("\"" + PathText(path) + "\".");
        case ReplaceResult::NotCreated:
        case ReplaceResult::NotAFile:
            break;
    }
    return CannotCreateFileText(path);
}

std::string CannotCreateFileText(const std::filesystem::path& path) {
    return msg::kCannotCreateFilePrefix + ("\"" + PathText(path) + "\".");
}

std::string ProposedFileName(const RecorderImage& image) {
    // Built in the code page of the image, where every character is one byte.
    std::string raw = Utf8ToCp1251("РП_№");
    for (int i = 0; i < width::Serial; ++i) {
        raw += static_cast<char>(image.U8(static_cast<std::uint16_t>(addr::RecorderSerial + i)));
    }
    raw += Utf8ToCp1251(" от ");
    raw += TimeText(image.Time(addr::ReadingTime), true);

    std::string name;
    for (char ch : raw) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '.') {
            name += '_';
            continue;
        }
        if (ch == ':') continue;
        if (b < 0x30 && ch != ' ') continue;
        // Characters that no file name may hold on the machines the files travel between.
        if (ch == '<' || ch == '>' || ch == '?' || ch == '\\' || ch == '|') continue;
        name += ch;
    }
    return Cp1251ToUtf8(name);
}

bool HasDataFileExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return ext == ".BBD";
}

}  // namespace orbisk
