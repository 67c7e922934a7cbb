// Page names and the small file-system helpers the sources share.
#pragma once

#include <cstdint>
#include <string>

bool IsImageExt(const std::string& ext);
bool IsImageFileName(const std::string& name);
std::string JoinPath(const std::string& folder, const std::string& name);
bool IsDirectory(const std::string& path);
bool IsFile(const std::string& path);
std::int32_t GetFileLength(const std::string& path);
bool PageNameLess(const std::string& a, const std::string& b); // the page list's order
