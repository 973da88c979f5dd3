#include "merge/OutputFile.h"

#include "paths/Filenames.h"
#include "platform/FileSystem.h"

#include <cstdio>
#include <iterator>

namespace {

// A name in the output's folder that no other file has: the rename refuses to take
// one that exists, and another is tried.
std::wstring AsideName(const std::wstring& path, unsigned attempt) {
    const std::wstring folder = GetDirectory(path);
    wchar_t name[40];
    std::swprintf(name, std::size(name), L"~vmerge-%08lx-%04x.tmp", GetCurrentProcessId(),
                  (GetTickCount() + attempt * 7919u) & 0xFFFFu);
    return (folder.empty() ? std::wstring() : folder + L"\\") + name;
}

// The older file, renamed aside until its successor exists.
class SetAside {
public:
    // False, with error set, when the older file stays where it is and may not be
    // replaced: a read-only file (which Windows would not delete either), a folder, or
    // one that another program holds without sharing its deletion.
    bool Move(const std::wstring& path, DWORD& error) {
        path_ = SystemPath(path);
        attributes_ = GetFileAttributesW(path_.c_str());
        if (attributes_ == INVALID_FILE_ATTRIBUTES) {
            error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND; // nothing to set aside
        }
        if (attributes_ & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
            error = ERROR_ACCESS_DENIED;
            return false;
        }
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            const std::wstring aside = SystemPath(AsideName(path, attempt));
            if (MoveFileExW(path_.c_str(), aside.c_str(), 0)) {
                aside_ = aside;
                // Hidden, so that a file left by a power cut does not stand among the user's.
                SetFileAttributesW(aside_.c_str(),
                                   (attributes_ & ~FILE_ATTRIBUTE_NORMAL) | FILE_ATTRIBUTE_HIDDEN);
                return true;
            }
            error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
                return false;
        }
        return false;
    }

    // The successor could not be made: the older file goes back, as it was.
    void PutBack() {
        if (aside_.empty())
            return;
        SetFileAttributesW(aside_.c_str(), attributes_);
        MoveFileExW(aside_.c_str(), path_.c_str(), 0);
    }

    // The successor exists. A program that holds the older file open with full
    // sharing keeps it until it lets go; the system removes it then.
    void Delete() {
        if (aside_.empty())
            return;
        SetFileAttributesW(aside_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(aside_.c_str());
    }

private:
    std::wstring path_, aside_;
    DWORD attributes_ = INVALID_FILE_ATTRIBUTES;
};

} // namespace

FileHandle CreateOutputFile(const std::wstring& outputPath, DWORD& error,
                            const CreateFileCall& create) {
    // Opened in place, the older file would fail a hidden or system file, follow a
    // symbolic link to a target the free-space check never saw, and cut the data a
    // hard link shares with a file outside the list. Renaming its name aside does
    // none of that: a link goes by itself, another name keeps its data. Deleting it
    // first would lose it where the new file then cannot be made, and where the
    // system only marks a file that another program holds open for deletion (Wine,
    // Windows before 10 1903, FAT, network shares), its name would stay taken.
    SetAside older;
    if (!older.Move(outputPath, error))
        return FileHandle();
    const std::wstring path = SystemPath(outputPath);
    constexpr DWORD access = GENERIC_WRITE, share = FILE_SHARE_READ, disposition = CREATE_NEW,
                    attributes = FILE_ATTRIBUTE_NORMAL;
    FileHandle output(create ? create(path.c_str(), access, share, disposition, attributes)
                             : CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                           attributes, nullptr));
    if (!output) {
        error = GetLastError();
        older.PutBack();
        SetLastError(error);
        return output;
    }
    error = 0;
    older.Delete();
    return output;
}
