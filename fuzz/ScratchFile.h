// ScratchFile: one file per fuzzing process that each input is written to, for the
// parsers that read archives by path. Removed when the process ends normally.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ScratchFile {
public:
    explicit ScratchFile(const std::string& extension);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Replaces the file's contents; false when it could not be written whole.
    bool Write(const std::uint8_t* data, std::size_t size) const;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
