// Direct access to the store file behind the routines, so tests can start from a known
// state and plant values the way another tool would.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>

#include <memory>

namespace storetest {

// The same store the routines open for the program's key.
std::unique_ptr<QSettings> OpenTavimoStore();
// Removes every value of the program's key.
void ClearStore();
// Replaces the store file's bytes.
void WriteStoreFile(const QByteArray& bytes);
QString StoreFilePath();

} // namespace storetest
