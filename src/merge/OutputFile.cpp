#include "merge/OutputFile.h"

#include "platform/FileSystem.h"

FileHandle CreateOutputFile(const std::wstring& outputPath, DWORD& error,
                            const CreateFileCall& create) {
    const std::wstring path = SystemPath(outputPath);
    // Opened in place, the older file would fail a hidden or system file, follow a
    // symbolic link to a target the free-space check never saw, and cut the data a
    // hard link shares with a file outside the list. Removing its name does none of
    // that: a link goes by itself, another name keeps its data. A read-only file, or
    // one another program holds open, refuses and stays as it is.
    if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        error = GetLastError();
        return FileHandle();
    }
    // The name is free now; a file that took it meanwhile is not opened in place either.
    constexpr DWORD access = GENERIC_WRITE, share = FILE_SHARE_READ, disposition = CREATE_NEW,
                    attributes = FILE_ATTRIBUTE_NORMAL;
    FileHandle output(create ? create(path.c_str(), access, share, disposition, attributes)
                             : CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                           attributes, nullptr));
    if (!output)
        error = GetLastError();
    return output;
}
