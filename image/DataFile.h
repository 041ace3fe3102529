#pragma once
// Data files (.bbd): the 65,536-byte image with nothing added.
#include <filesystem>
#include <string>
#include <string_view>

#include "base/FileReplace.h"
#include "base/Prompter.h"
#include "image/RecorderImage.h"

namespace orbisk {

// Reads a whole data file into the image. A file that cannot be read or is shorter than an image
// is refused with its message and leaves the image as it was; bytes beyond the image are ignored.
bool ReadDataFile(const std::filesystem::path& path, RecorderImage& image, Prompter& prompter);

// Writes the image to the file as ReplaceFileContents does (a file through a temporary file in
// its folder, so that a failure leaves it intact; a device or pipe as it is). Returns an empty
// text on success, else the reason. `tail` follows the image, for a file that held more.
std::string WriteDataFile(const std::filesystem::path& path, const RecorderImage& image,
                          std::string_view tail = {});

// Why a file could not be written, by what ReplaceFileContents gave: the data files' messages,
// also for the other files the program writes; empty for Replaced.
std::string WriteFailureText(const std::filesystem::path& path, ReplaceResult result);

// "Неправильный размер файла данных: N байт.\nОжидается 65536 байт."
std::string BadFileSizeText(std::uintmax_t size);

// The message for a file that could not be created, with its path; also for saved pictures.
std::string CannotCreateFileText(const std::filesystem::path& path);

// The name proposed for saving the image: "РП_№", the recorder serial number, " от ", the reading
// time, with dots turned into "_" and the characters a file name cannot hold removed.
std::string ProposedFileName(const RecorderImage& image);

// True when the path ends in ".bbd", in any case.
bool HasDataFileExtension(const std::filesystem::path& path);

}  // namespace orbisk
