#pragma once

#include "platform/Services.h"

// The real services. Message boxes carry the given title; settings live under
// HKEY_CURRENT_USER\<settingsKey>\<section>.
class Win32Services : public Services {
public:
    Win32Services(std::wstring title, std::wstring settingsKey)
        : title_(std::move(title)), settingsKey_(std::move(settingsKey)) {}

    int ShowMessage(HWND owner, const std::wstring& text, UINT type) override;
    void Beep() override;
    FileDialogResult ShowOpenDialog(HWND owner, const FileDialogRequest& request) override;
    FileDialogResult ShowSaveDialog(HWND owner, const FileDialogRequest& request) override;
    bool StartProcess(const std::wstring& commandLine) override;
    void OpenAddress(HWND owner, const std::wstring& address) override;
    std::wstring ReadSetting(const std::wstring& section, const std::wstring& key,
                             const std::wstring& defaultValue) override;
    void WriteSetting(const std::wstring& section, const std::wstring& key,
                      const std::wstring& value) override;
    std::unique_ptr<TaskbarProgress> OpenTaskbarProgress(HWND window) override;
    void SetShutdownReason(HWND window, const std::wstring& reason) override;

    const std::wstring& SettingsKey() const { return settingsKey_; }

private:
    std::wstring title_;
    std::wstring settingsKey_;
};
