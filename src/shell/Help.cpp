#include "shell/Help.h"

#include "paths/Filenames.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"
#include "platform/VersionInfo.h"

std::wstring ProgramDirectory() {
    return FolderPath(GetDirectory(ProgramPath()));
}

void ShowHelp(HWND owner, Services& services, const std::wstring& programDirectory) {
    // Joined as it is: at a drive's root the path holds two backslashes in a row.
    const std::wstring path = programDirectory + L"\\help.txt";
    if (IsFilePresent(path)) {
        services.StartProcess(L"notepad " + path);
        return;
    }
    services.ShowMessage(owner,
                         L"Cannot find the help file\r" + path +
                             L"\r\rThe file shipped with the application and should be \r"
                             L"located in the same directory as the program file.",
                         kWarningBox);
}
