// The four store routines: each opens the per-user store, reads or writes one named
// value and closes it again. On Windows the store is the registry key
// HKCU\SOFTWARE\ZELLORY\TAVIMO; elsewhere ZELLORY/TAVIMO.conf in the user's config folder.
#pragma once

#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>

// The key path every routine of the program uses.
inline constexpr const char* kTavimoKey = "SOFTWARE\\ZELLORY\\TAVIMO";

bool GetRegDword(const std::string& keyPath, const std::string& valueName, std::int32_t& out, std::int32_t def);
bool SetRegDword(const std::string& keyPath, const std::string& valueName, std::int32_t value);
bool GetRegString(const std::string& keyPath, const std::string& valueName, std::string& out);
bool SetRegString(const std::string& keyPath, const std::string& valueName, const std::string& value);

// A list of texts under one name. An update reads the stored list, hands it to `update` and
// writes what that returns, while other instances of the program wait for their own update.
bool GetRegList(const std::string& keyPath, const std::string& valueName, QStringList& out);
bool UpdateRegList(const std::string& keyPath, const std::string& valueName,
                   const std::function<QStringList(const QStringList& stored)>& update);
