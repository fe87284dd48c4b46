#pragma once

#include <QString>

namespace pendra::setup {

enum class Component { Datev, Online };

// What the product key tells its readers. A value that cannot be read counts as absent.
bool mainApplicationInstalled();
bool componentInstalled(Component component);
// The installation directory, or RegistryKey::readFailed() when it cannot be read.
QString installationPath();

// Writes the four values of a main installation; trailing separators of the directory are
// trimmed.
void writeMainInstallation(const QString& installDir);
// Records the component as installed, before its installer runs.
void writeComponentInstalled(Component component);
// Deletes the component's value and nothing else.
void removeComponent(Component component);
// Deletes the product key from the bottom up; the maker's key goes only when it holds
// nothing else.
void removeMainInstallation();

}  // namespace pendra::setup
