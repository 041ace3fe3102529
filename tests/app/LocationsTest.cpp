#include "app/Locations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/TempFolder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace orbisk {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::WriteBytes;

// An environment of the test's own, and a writability answer decided by the test.
struct FakeSystem {
    std::map<std::string, std::string, std::less<>> variables;
    bool programFolderWritable = true;

    LocationServices Services() {
        return LocationServices{[this](std::string_view name) -> std::optional<std::string> {
                                    const auto found = variables.find(name);
                                    if (found == variables.end()) return std::nullopt;
                                    return found->second;
                                },
                                [this](const fs::path&) { return programFolderWritable; }};
    }
};

class LocationsTest : public ::testing::Test {
protected:
    LocationsTest() {
        fs::create_directories(ProgramFolder());
        system_.variables["HOME"] = PathToUtf8(folder_ / "home");
    }
    fs::path ProgramFolder() const { return folder_ / "opt" / "Орбис"; }
    ProgramLocations Locate(const fs::path& executable) {
        return LocateProgramFiles(executable, "orbisk", system_.Services());
    }

    TempFolder folder_;
    FakeSystem system_;
};

TEST_F(LocationsTest, WritableProgramFolderKeepsEverythingBesideTheExecutable) {
    const ProgramLocations plain = Locate(ProgramFolder() / "orbisk");
    EXPECT_EQ(plain.iniPath, ProgramFolder() / "orbisk.ini");
    EXPECT_EQ(plain.dataFolder, ProgramFolder() / "Данные");
    EXPECT_EQ(plain.programFolder, ProgramFolder());

    const ProgramLocations windowsStyle = Locate(ProgramFolder() / "orbis_k.exe");
    EXPECT_EQ(windowsStyle.iniPath, ProgramFolder() / "orbis_k.ini");
    EXPECT_FALSE(fs::exists(folder_ / "home")) << "nothing is created in the user's folders";
}

TEST_F(LocationsTest, ReadOnlyProgramFolderUsesTheUsersFolders) {
    system_.programFolderWritable = false;
    const ProgramLocations locations = Locate(ProgramFolder() / "orbisk");
    EXPECT_EQ(locations.iniPath, folder_ / "home" / ".config" / "orbisk" / "orbisk.ini");
    EXPECT_EQ(locations.dataFolder, folder_ / "home" / "Documents" / "Данные");
    EXPECT_EQ(locations.programFolder, ProgramFolder());
    EXPECT_TRUE(fs::is_directory(folder_ / "home" / ".config" / "orbisk"))
        << "the INI file's folder must exist for its first write";
}

TEST_F(LocationsTest, XdgFoldersComeFirstWhenTheyAreAbsolute) {
    system_.programFolderWritable = false;
    system_.variables["XDG_CONFIG_HOME"] = PathToUtf8(folder_ / "xdg-config");
    system_.variables["XDG_DOCUMENTS_DIR"] = PathToUtf8(folder_ / "Документы");
    ProgramLocations locations =
        LocateProgramFiles(ProgramFolder() / "orbisk-cli", "orbisk", system_.Services());
    EXPECT_EQ(locations.iniPath, folder_ / "xdg-config" / "orbisk" / "orbisk.ini");
    EXPECT_EQ(locations.dataFolder, folder_ / "Документы" / "Данные");

    // Relative values are not folders one can rely on: the home folder is used instead.
    system_.variables["XDG_CONFIG_HOME"] = "relative/config";
    system_.variables["XDG_DOCUMENTS_DIR"] = "";
    locations = Locate(ProgramFolder() / "orbisk");
    EXPECT_EQ(locations.iniPath, folder_ / "home" / ".config" / "orbisk" / "orbisk.ini");
    EXPECT_EQ(locations.dataFolder, folder_ / "home" / "Documents" / "Данные");
}

TEST_F(LocationsTest, WithoutAnyUserFolderTheFilesStayBesideTheExecutable) {
    system_.programFolderWritable = false;
    system_.variables.clear();
    const ProgramLocations locations = Locate(ProgramFolder() / "orbisk");
    EXPECT_EQ(locations.iniPath, ProgramFolder() / "orbisk.ini");
    EXPECT_EQ(locations.dataFolder, ProgramFolder() / "Данные");
}

TEST_F(LocationsTest, ARelativeExecutablePathIsMadeAbsolute) {
    const ProgramLocations locations = Locate("bin/orbisk");
    EXPECT_TRUE(locations.iniPath.is_absolute());
    EXPECT_EQ(locations.iniPath, fs::current_path() / "bin" / "orbisk.ini");
    EXPECT_EQ(locations.programFolder, fs::current_path() / "bin");
}

// An installation's folders: the executable's, and where a package keeps its documents.
struct InstalledTree {
    InstalledTree() {
        fs::create_directories(bin);
        fs::create_directories(shared.parent_path());
        fs::create_directories(documents.parent_path());
    }
    TempFolder root;
    fs::path bin = root / "usr" / "bin";
    fs::path shared = root / "usr" / "share" / "orbisk" / "orbis_k.pdf";
    fs::path documents = root / "usr" / "share" / "doc" / "orbisk" / "orbis_k.pdf";
};

// The help document of a copy in one folder, of the build tree and of a system package (the
// executable in /usr/bin, documents under /usr/share), in that order of preference.
TEST(LocateHelpFileTest, BesideTheExecutableThenWhereAPackagePutsIt) {
    const InstalledTree tree;
    const fs::path& bin = tree.bin;
    const fs::path& shared = tree.shared;
    const fs::path& documents = tree.documents;

    // None at all: the path beside the executable, so that opening it fails as a missing one.
    EXPECT_EQ(LocateHelpFile(bin), bin / "orbis_k.pdf");

    WriteBytes(documents, "%PDF-");
    EXPECT_EQ(LocateHelpFile(bin), documents);
    // A folder of that name is no document.
    fs::create_directory(bin / "orbis_k.pdf");
    EXPECT_EQ(LocateHelpFile(bin), documents);
    fs::remove(bin / "orbis_k.pdf");
    WriteBytes(shared, "%PDF-");
    EXPECT_EQ(LocateHelpFile(bin), shared);
    WriteBytes(bin / "orbis_k.pdf", "%PDF-");
    EXPECT_EQ(LocateHelpFile(bin), bin / "orbis_k.pdf");

    // The folder below share/ is the program's base name.
    fs::remove(bin / "orbis_k.pdf");
    EXPECT_EQ(LocateHelpFile(bin, "other"), bin / "orbis_k.pdf");
}

TEST(LocateHelpFileTest, ALinkToTheDocumentCountsAndTheLocationsCarryIt) {
    const InstalledTree tree;
    const fs::path& bin = tree.bin;
    const fs::path& shared = tree.shared;
    const fs::path& documents = tree.documents;

#ifndef _WIN32
    // A package keeps the document under share/<name>/ and links it from share/doc/<name>/; a
    // link whose target is gone is no document.
    fs::create_symlink("../../orbisk/orbis_k.pdf", documents);
    EXPECT_EQ(LocateHelpFile(bin), bin / "orbis_k.pdf");
    fs::create_directories(tree.root / "elsewhere");
    WriteBytes(tree.root / "elsewhere" / "orbis_k.pdf", "%PDF-");
    fs::create_symlink(tree.root / "elsewhere" / "orbis_k.pdf", shared);
    EXPECT_EQ(LocateHelpFile(bin), shared);
#else
    WriteBytes(shared, "%PDF-");
#endif

    // Whatever the folder of the settings, the help document is found from the executable's.
    const auto nowhere = [](std::string_view) -> std::optional<std::string> { return {}; };
    for (const bool writable : {true, false}) {
        const LocationServices services{nowhere, [writable](const fs::path&) { return writable; }};
        EXPECT_EQ(LocateProgramFiles(bin / "orbisk", "orbisk", services).helpFile, shared);
    }
}

TEST(IsWritableFolderTest, AnswersForRealFolders) {
    TempFolder folder;
    EXPECT_TRUE(IsWritableFolder(folder.Path()));
    EXPECT_FALSE(IsWritableFolder(folder / "does-not-exist"));
    WriteBytes(folder / "plain-file", "x");
    EXPECT_FALSE(IsWritableFolder(folder / "plain-file"));
    EXPECT_FALSE(IsWritableFolder(folder / "plain-file" / "below"));
}

TEST(IsWritableFolderTest, DecidesBetweenTheProgramFolderAndTheUsersFolders) {
    TempFolder folder;
    const auto environment = [&folder](std::string_view name) -> std::optional<std::string> {
        if (name == "HOME") return PathToUtf8(folder / "home");
        return std::nullopt;
    };
    const LocationServices services{environment, IsWritableFolder};

    fs::create_directory(folder / "bin");
    EXPECT_EQ(LocateProgramFiles(folder / "bin" / "orbisk", "orbisk", services).iniPath,
              folder / "bin" / "orbisk.ini");

    // A "folder" that is a regular file can never be written into.
    WriteBytes(folder / "not-a-folder", "x");
    EXPECT_EQ(LocateProgramFiles(folder / "not-a-folder" / "orbisk", "orbisk", services).iniPath,
              folder / "home" / ".config" / "orbisk" / "orbisk.ini");

#ifndef _WIN32
    // A read-only folder; the superuser may write anywhere, and then it is writable indeed.
    fs::permissions(folder / "bin", fs::perms::owner_read | fs::perms::owner_exec);
    const bool superuser = ::geteuid() == 0;
    EXPECT_EQ(IsWritableFolder(folder / "bin"), superuser);
    fs::permissions(folder / "bin", fs::perms::owner_all);
#endif
}

TEST(PathTextTest, Utf8RoundTrip) {
    const std::string text = "/tmp/Данные/Проверка №1.bbd";
    EXPECT_EQ(PathToUtf8(Utf8ToPath(text)), text);
    EXPECT_EQ(Utf8ToPath(text).filename(), Utf8ToPath("Проверка №1.bbd"));
}

}  // namespace
}  // namespace orbisk
