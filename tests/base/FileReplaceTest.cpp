// One rule for whatever a path names when the program writes a whole file there: files (through
// links) are replaced only when the new contents are complete, devices and pipes are written to
// as they are, and nothing else is touched.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>
#include <memory>

#include "base/FileReplace.h"
#include "base/ScratchFile.h"
#include "support/SpecialFiles.h"
#include "support/TempFolder.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const std::string kBytes = "new contents\r\n";

int ScratchFiles(const TempFolder& folder) {
    int n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
        if (entry.path().extension() == ".tmp") ++n;
    }
    return n;
}

struct Outcome {
    ReplaceResult result;
    fs::file_type typeAfter;  // of the path itself, links not followed
    std::string landed;       // what the file the bytes were meant for holds afterwards
};

struct Case {
    const char* what;
    // Prepares the folder; returns the path to write to and the file to look at afterwards.
    std::function<std::pair<fs::path, fs::path>(const TempFolder&)> prepare;
    Outcome expected;
};

TEST(FileReplace, WhatThePathNamesDecidesHowItIsWritten) {
    const Case cases[] = {
        {"nothing yet",
         [](const TempFolder& f) {
             return std::pair{f / "out", f / "out"};
         },
         {ReplaceResult::Replaced, fs::file_type::regular, kBytes}},
        {"a file",
         [](const TempFolder& f) {
             WriteBytes(f / "out", "old contents, longer than the new ones");
             return std::pair{f / "out", f / "out"};
         },
         {ReplaceResult::Replaced, fs::file_type::regular, kBytes}},
        {"a link to a file",
         [](const TempFolder& f) {
             WriteBytes(f / "real", "old");
             fs::create_symlink("real", f / "out");
             return std::pair{f / "out", f / "real"};
         },
         {ReplaceResult::Replaced, fs::file_type::symlink, kBytes}},
        {"a link to a link to a file in another folder",
         [](const TempFolder& f) {
             fs::create_directory(f / "sub");
             WriteBytes(f / "sub" / "real", "old");
             fs::create_symlink("sub/real", f / "middle");
             fs::create_symlink(f / "middle", f / "out");
             return std::pair{f / "out", f / "sub" / "real"};
         },
         {ReplaceResult::Replaced, fs::file_type::symlink, kBytes}},
        {"a link to a file not there yet",
         [](const TempFolder& f) {
             fs::create_directory(f / "sub");
             fs::create_symlink("sub/new", f / "out");
             return std::pair{f / "out", f / "sub" / "new"};
         },
         {ReplaceResult::Replaced, fs::file_type::symlink, kBytes}},
        {"a folder",
         [](const TempFolder& f) {
             fs::create_directory(f / "out");
             return std::pair{f / "out", f / "out" / "none"};
         },
         {ReplaceResult::NotAFile, fs::file_type::directory, ""}},
        {"a link to a folder",
         [](const TempFolder& f) {
             fs::create_directory(f / "sub");
             fs::create_directory_symlink("sub", f / "out");
             return std::pair{f / "out", f / "sub" / "none"};
         },
         {ReplaceResult::NotAFile, fs::file_type::symlink, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const auto [path, look] = c.prepare(folder);
        EXPECT_EQ(ReplaceFileContents(path, kBytes), c.expected.result);
        EXPECT_EQ(fs::symlink_status(path).type(), c.expected.typeAfter);
        EXPECT_EQ(ReadBytes(look), c.expected.landed);
        EXPECT_EQ(ScratchFiles(folder), 0);
    }
}

// A device or a FIFO is written to as it is and stays what it was: replacing it by a file
// would break it for every other program (/dev/null above all).
TEST(FileReplace, DevicesAndPipesAreWrittenToAndNeverReplaced) {
    TempFolder folder;
    const fs::path null = test::DeviceLike(folder.Path(), "null", "/dev/null");
    const fs::path full = test::DeviceLike(folder.Path(), "full", "/dev/full");

    EXPECT_EQ(ReplaceFileContents(null, kBytes), ReplaceResult::Replaced);
    EXPECT_EQ(fs::symlink_status(null).type(), fs::file_type::character);

    // A device that takes nothing: the failure is told, and the device stays.
    EXPECT_EQ(ReplaceFileContents(full, kBytes), ReplaceResult::NotWritten);
    EXPECT_EQ(fs::symlink_status(full).type(), fs::file_type::character);

    // A link to a device is followed to it.
    fs::create_symlink(null, folder / "link-to-null");
    EXPECT_EQ(ReplaceFileContents(folder / "link-to-null", kBytes), ReplaceResult::Replaced);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "link-to-null")));
    EXPECT_EQ(fs::status(null).type(), fs::file_type::character);

    // More than a pipe holds at once goes through a FIFO whole.
    const std::string big(200'000, 'x');
    test::FifoReader fifo(folder / "fifo");
    ASSERT_TRUE(fifo.Ready());
    EXPECT_EQ(ReplaceFileContents(fifo.Path(), big), ReplaceResult::Replaced);
    EXPECT_EQ(fifo.Take(), big);
    EXPECT_EQ(fs::symlink_status(fifo.Path()).type(), fs::file_type::fifo);

    EXPECT_EQ(ScratchFiles(folder), 0);
}

// A program ended by Ctrl+C or a request to terminate while it replaces a file leaves the file
// whole, old or new, and no scratch file beside it; the signal still ends it.
TEST(FileReplace, AnInterruptLeavesNoScratchFileBehind) {
    TempFolder folder;
    const fs::path target = folder.Path() / "memory.bbd";
    const fs::path scratch = folder.Path() / "memory.bbd.0123456789abcdef.tmp";
    const std::string before(4 << 20, 'o'), after(4 << 20, 'n');
    WriteBytes(target, before);
    // `held`: caught while the scratch file is there for certain; else at any moment of a
    // replacement.
    const auto interrupt = [&](int signalNumber, bool held) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RemoveScratchFileOnInterrupt();
            if (held) {
                NoteScratchFile(scratch);
                WriteBytes(scratch, after);
                for (;;) ::pause();
            }
            for (;;) ReplaceFileContents(target, after);
        }
        if (held) {
            while (ReadBytes(scratch).size() != after.size()) std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        ::kill(child, signalNumber);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber);
        EXPECT_EQ(ScratchFiles(folder), 0);
        const std::string landed = ReadBytes(target);
        EXPECT_TRUE(landed == before || landed == after);
    };
    for (int signalNumber : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signalNumber);
        interrupt(signalNumber, true);
        interrupt(signalNumber, false);
    }
}

}  // namespace
}  // namespace orbisk
