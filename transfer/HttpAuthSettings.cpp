#include "transfer/HttpAuthSettings.h"

#include "base/ProgramDir.h"
#include "transfer/IniFile.h"

namespace {
const QString kSection = QStringLiteral("HttpAuth");
} // namespace

QString HttpAuthSettingsPath() { return GetProgramDir() + QStringLiteral("/config/Setting.ini"); }

HttpAuthSettings& GetHttpAuthSettings()
{
    static HttpAuthSettings settings;
    return settings;
}

HttpAuthSettings ReadHttpAuthSettings()
{
    const CIniFile ini(HttpAuthSettingsPath());
    HttpAuthSettings s;
    s.AuthMode = ini.ReadInt(kSection, QStringLiteral("AuthMode"), 0);
    s.User =
        ini.ReadString(kSection, QStringLiteral("User"), QString(), HttpAuthSettings::kTextCap);
    s.Password =
        ini.ReadString(kSection, QStringLiteral("Password"), QString(), HttpAuthSettings::kTextCap);
    return s;
}

void LoadHttpAuthSettings() { GetHttpAuthSettings() = ReadHttpAuthSettings(); }

int SaveHttpAuthSettings(int authMode, const QString& user, const QString& password)
{
    const CIniFile ini(HttpAuthSettingsPath());
    int result = ini.WriteString(kSection, QStringLiteral("AuthMode"), QString::number(authMode));
    result |= ini.WriteString(kSection, QStringLiteral("User"), user);
    result |= ini.WriteString(kSection, QStringLiteral("Password"), password);
    return result == 0 ? 0 : -1;
}
