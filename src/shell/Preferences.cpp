#include "shell/Preferences.h"

#include "platform/Services.h"
#include "shell/RegistryNames.h"

Preferences LoadPreferences(Services& services) {
    Preferences p;
    p.strAddDir = services.ReadSetting(kPreferencesSection, kAddDirValue, L"");
    p.strSaveDir = services.ReadSetting(kPreferencesSection, kSaveDirValue, L"");
    p.strFilenameBufSize =
        services.ReadSetting(kPreferencesSection, kFilenameBufSizeValue, kDefaultFilenameBufSize);
    return p;
}

void SavePreferences(Services& services, const Preferences& p) {
    services.WriteSetting(kPreferencesSection, kAddDirValue, p.strAddDir);
    services.WriteSetting(kPreferencesSection, kSaveDirValue, p.strSaveDir);
    services.WriteSetting(kPreferencesSection, kFilenameBufSizeValue, p.strFilenameBufSize);
}
