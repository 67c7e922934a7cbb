// CPageStore: the entries a forward pass over a solid archive has decompressed, kept by
// entry index so that turning back or jumping never decompresses from the start again.
// Memory holds them up to a budget; beyond it they go to a private temporary file that
// has no name on disk while it is used (so nothing remains after a crash).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CPageStore {
public:
    static constexpr std::size_t kDefaultMemoryBudget = 256u << 20;
    static constexpr std::int64_t kDefaultFileBudget = 8ll << 30;

    explicit CPageStore(std::size_t memoryBudget = kDefaultMemoryBudget, std::int64_t fileBudget = kDefaultFileBudget);
    CPageStore(const CPageStore&) = delete;
    CPageStore& operator=(const CPageStore&) = delete;
    ~CPageStore();

    bool Contains(std::int64_t key) const;
    // Copies the stored bytes of `key` into `bytes`; false (and `bytes` empty) when absent.
    bool Get(std::int64_t key, std::vector<std::uint8_t>& bytes) const;
    // Keeps a copy; an entry already kept, or one that fits neither budget, is not stored.
    void Put(std::int64_t key, const std::uint8_t* data, std::size_t size);
    void Clear();
    void SetMemoryBudget(std::size_t budget) { m_memoryBudget = budget; }

    std::size_t MemoryBytes() const { return m_memoryBytes; }
    std::int64_t FileBytes() const { return m_fileBytes; }

private:
    bool EnsureFile();

    struct Span {
        std::int64_t offset;
        std::size_t size;
    };
    std::size_t m_memoryBudget;
    std::int64_t m_fileBudget;
    std::map<std::int64_t, std::vector<std::uint8_t>> m_memory;
    std::map<std::int64_t, Span> m_spilled;
    std::size_t m_memoryBytes = 0;
    std::int64_t m_fileBytes = 0;
    int m_fd = -1;
    bool m_fileFailed = false;
};

// The folder, private to this user (mode 0700), where the spill files are made.
std::string PrivateSpillFolder();
