#pragma once
#include <QString>

// The credentials for the devices' web interface, kept in config/Setting.ini,
// section "HttpAuth", keys "AuthMode", "User", "Password".
struct HttpAuthSettings {
    static constexpr int kTextCap = 64; // User and Password keep at most 63 characters
    int AuthMode = 0;                   // 0 none, 1 Basic, 2 Digest; anything else: none
    QString User;
    QString Password;
};

// The settings file: the program directory + "/config/Setting.ini".
QString HttpAuthSettingsPath();
// The process-wide record that the transfers use.
HttpAuthSettings& GetHttpAuthSettings();
// Clears the process-wide record and reads it afresh from the file (defaults
// when the file or a key is missing). Runs before every transfer.
void LoadHttpAuthSettings();
// Reads the file into a value, as LoadHttpAuthSettings does.
HttpAuthSettings ReadHttpAuthSettings();
// Writes the three keys in the order AuthMode, User, Password, creating the
// file (readable by its owner only) but not the config directory. 0 or -1.
int SaveHttpAuthSettings(int authMode, const QString& user, const QString& password);
