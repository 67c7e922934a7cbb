// Direct access to the store file behind the routines, so tests can start from a known
// state and plant values the way another tool would.
#pragma once

#include <QFile>
#include <QSettings>

#include <memory>

namespace storetest {

// The same store the routines open for the program's key.
inline std::unique_ptr<QSettings> OpenTavimoStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "ZELLORY", "TAVIMO");
}

// Removes every value of the program's key, readable again after a test took that away.
inline void ClearStore() {
    QFile::setPermissions(OpenTavimoStore()->fileName(), QFile::ReadOwner | QFile::WriteOwner);
    OpenTavimoStore()->clear();
}

} // namespace storetest
