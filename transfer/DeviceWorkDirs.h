#pragma once
#include <QString>

// The per-device work directories below the program directory, named by the
// device's MAC: Devices/UpdateTo/<MAC> holds the last list sent to the device,
// Devices/UpdateFrom/<MAC> the last list received from it.
QString GetDevicesDir();
// Empty text for a MAC that could leave the Devices directory (a separator, a
// dot, anything but letters, digits, '-', '_' and ':'), so no caller can be led
// to write or delete elsewhere.
QString GetUpdateToDir(const QString& mac);
QString GetUpdateFromDir(const QString& mac);
// The work files: the directory + "/" + MAC + ".xml"; empty for a refused MAC.
QString GetUpdateToFile(const QString& mac);
QString GetUpdateFromFile(const QString& mac);

// Creates the device's update-to and then update-from directory (one level, no
// parents) unless they exist. 0, or -1 with the failure logged.
int CreateDeviceWorkDirs(const QString& mac);
// Deletes every file directly inside the directory; subdirectories stay.
// Failures are ignored.
void ClearDirectoryFiles(const QString& dir);
// Deletes the directory with everything below it, read-only entries included;
// symbolic links are removed, never followed. Failures are ignored.
void RemoveDirectoryTree(const QString& dir);
