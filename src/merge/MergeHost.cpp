#include "merge/MergeHost.h"

#include "platform/Services.h"
#include "progress/ProgressDialog.h"

void Warn(MergeHost& host, const std::wstring& text) {
    HWND owner = host.progress.IsLoaded() ? host.progress.Handle() : host.mainWindow;
    host.services.ShowMessage(IsWindow(owner) ? owner : nullptr, text, kWarningBox);
}
