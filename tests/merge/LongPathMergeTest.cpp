#include "app/FormatNumber.h"
#include "merge/HugeFileFunctions.h"
#include "merge/MergeRig.h"
#include "support/LongPathsRefused.h"

#include <doctest.h>

namespace {

std::wstring Prefixed(const std::wstring& path) {
    return L"\\\\?\\" + path;
}

// Nested folders under base whose path runs to about `length` characters, named in
// Greek and CJK letters; made, and in the end removed, through the "\\?\" form.
class DeepFolder {
public:
    DeepFolder(const std::wstring& base, std::size_t length) : path_(base) {
        static int folders = 0;
        const std::wstring tag = std::to_wstring(++folders) + L".";
        for (int level = 0; path_.size() < length; ++level) {
            path_ += L"\\Φωτογραφίες-写真-" + tag + std::to_wstring(level) + L"-" +
                     std::wstring(std::min<std::size_t>(40, length - path_.size()), L'ω');
            REQUIRE(CreateDirectoryW(Prefixed(path_).c_str(), nullptr));
            levels_.push_back(path_);
        }
    }
    ~DeepFolder() {
        for (const auto& file : files_)
            DeleteFileW(Prefixed(file).c_str());
        for (auto level = levels_.rbegin(); level != levels_.rend(); ++level)
            RemoveDirectoryW(Prefixed(*level).c_str());
    }
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    // A file in the deepest folder, as the user's list would hold it.
    std::wstring File(const std::wstring& name, const std::string& bytes = {}) {
        files_.push_back(path_ + L"\\" + name);
        if (!bytes.empty())
            WriteBytes(Prefixed(files_.back()), bytes);
        return files_.back();
    }

private:
    std::wstring path_;
    std::vector<std::wstring> levels_, files_;
};

} // namespace

TEST_CASE("Files 300 to 1,000 characters deep merge, and messages show the paths as listed") {
    MergeRig rig;
    DeepFolder shallow(rig.dir.Path(), 290), middle(rig.dir.Path(), 640),
        deepest(rig.dir.Path(), 960);
    const std::string one = Pattern(5000, 1), two = Pattern(70000, 2), three = Pattern(3, 3);
    const Texts inputs{shallow.File(L"μέρος-一.bin", one), middle.File(L"μέρος-二.bin", two),
                       deepest.File(L"μέρος-三.bin", three)};
    const std::wstring output = deepest.File(L"合併-όλα.bin");
    REQUIRE((inputs[0].size() >= 300 && output.size() <= 1000));

    const LongPathsRefused asWindows;
    WIN32_FILE_ATTRIBUTE_DATA data;
    REQUIRE_FALSE(GetFileAttributesExW(inputs[0].c_str(), GetFileExInfoStandard, &data));

    rig.Fill(inputs);
    CHECK(rig.Status() == L"3 files (" + FormatNumber(75003) + L" Bytes)");
    rig.services.saveResults.push_back(ScriptedServices::Chosen(output, deepest.Path()));
    MergeFiles(rig.host, rig.Texts(), rig.options);
    CHECK(rig.services.Warnings().empty());
    CHECK(FileBytes(Prefixed(output)) == Bytes{one + two + three});
    CHECK(rig.saveDir == deepest.Path());

    // Every message names a file as the list holds it.
    const auto again = [&] {
        rig.services.messages.clear();
        rig.services.saveResults.push_back(ScriptedServices::Chosen(output, deepest.Path()));
        MergeFiles(rig.host, rig.Texts(), rig.options);
        return rig.services.Warnings();
    };
    rig.services.saveResults.push_back(ScriptedServices::Chosen(inputs[1], middle.Path()));
    CHECK(again() == Texts{L"You cannot use the same file for input and output.\r\r"
                           L"Check your filenames and try again."});
    {
        const FileHandle holder(CreateFileW(Prefixed(inputs[1]).c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        CHECK(again() ==
              Texts{L"Cannot open the file " + inputs[1] + L".\r" +
                    GetErrorText(ERROR_SHARING_VIOLATION) + L"\r\rCheck the file and try again."});
    }
    DeleteFileW(Prefixed(inputs[2]).c_str());
    CHECK(again() ==
          Texts{L"Cannot find the file " + inputs[2] + L".\r\rCheck the filename and try again."});
    CHECK(rig.Texts() == inputs);

    // A dropped folder gives its files as the folder's path and their names.
    MainWindowFixture dropped;
    dropped.Drop({middle.Path()});
    CHECK(dropped.Texts() == Texts{inputs[1]});
    CHECK(dropped.Status() == L"1 files (" + FormatNumber(70000) + L" Bytes)");
}
