// The regular-file rule: what may be opened for reading, and what a file that changes
// under the reader gives.
#include "sources/RegularFile.h"

#include "ImageFixtures.h"
#include "SpecialFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

struct OpenRow {
    const char* fault;
    std::function<bool(const std::string& path)> make; // makes the thing at `path`
    bool opens;
    std::int64_t size;
};

bool MakeSpecial(fixtures::SpecialFile kind, const std::string& path)
{
    return fixtures::MakeSpecialFile(kind, path);
}

TEST(RegularFileRule, OpensOnlyRegularFiles)
{
    using fixtures::SpecialFile;
    const OpenRow rows[] = {
        {"a picture is refused", [](auto& p) { return fixtures::WriteFile(p, Bytes(5, 7)); }, true, 5},
        {"an empty file is taken for a folder or a failure", [](auto& p) { return fixtures::WriteFile(p, {}); }, true, 0},
        {"a link to a picture is refused",
         [](auto& p) {
             std::error_code error;
             fs::create_symlink(p + ".real", p, error);
             return !error && fixtures::WriteFile(p + ".real", Bytes(3, 1));
         },
         true, 3},
        {"a folder opens", [](auto& p) { return fs::create_directory(p); }, false, -1},
        {"a missing file opens", [](auto&) { return true; }, false, -1},
        {"a named pipe blocks or opens", [](auto& p) { return MakeSpecial(SpecialFile::Fifo, p); }, false, -1},
        {"a socket opens", [](auto& p) { return MakeSpecial(SpecialFile::Socket, p); }, false, -1},
        {"/dev/null through a link opens", [](auto& p) { return MakeSpecial(SpecialFile::NullDevice, p); }, false, -1},
        {"/dev/zero through a link opens", [](auto& p) { return MakeSpecial(SpecialFile::ZeroDevice, p); }, false, -1},
    };
    int index = 0;
    for (const OpenRow& row : rows) {
        SCOPED_TRACE(row.fault);
        QTemporaryDir dir;
        const std::string path = dir.filePath(QString("thing%1.jpg").arg(index++)).toStdString();
        ASSERT_TRUE(row.make(path));
        CRegularFile file;
        EXPECT_EQ(file.Open(path), row.opens);
        EXPECT_EQ(file.IsOpen(), row.opens);
        EXPECT_EQ(file.Size(), row.size);
        if (row.opens) {
            Bytes bytes(16, 0xEE);
            EXPECT_EQ(file.ReadAt(0, bytes.data(), bytes.size()), row.size);
        }
    }
}

struct ChangeRow {
    const char* fault;
    std::function<void(const std::string& path)> change; // done after the file was opened
    std::int64_t got;                                    // what reading all of it gives
    std::uint8_t first;                                  // its first byte
};

TEST(RegularFileRule, FileChangedUnderTheReaderReadsWhatIsThere)
{
    const ChangeRow rows[] = {
        {"a cut file reads past its end", [](auto& p) { fs::resize_file(p, 40); }, 40, 1},
        {"a grown file reads more than it had", [](auto& p) { fs::resize_file(p, 400); }, 100, 1},
        {"a replaced file reads the new one",
         [](auto& p) {
             ASSERT_TRUE(fixtures::WriteFile(p + ".new", Bytes(100, 9)));
             fs::rename(p + ".new", p);
         },
         100, 1},
        {"a removed file cannot be read", [](auto& p) { fs::remove(p); }, 100, 1},
        {"a file cut to nothing reads stale bytes", [](auto& p) { fs::resize_file(p, 0); }, 0, 0xEE},
    };
    for (const ChangeRow& row : rows) {
        SCOPED_TRACE(row.fault);
        QTemporaryDir dir;
        const std::string path = dir.filePath("page.jpg").toStdString();
        ASSERT_TRUE(fixtures::WriteFile(path, Bytes(100, 1)));
        CRegularFile file;
        ASSERT_TRUE(file.Open(path));
        row.change(path);
        EXPECT_EQ(file.Size(), 100);
        Bytes bytes(100, 0xEE);
        EXPECT_EQ(file.ReadAt(0, bytes.data(), bytes.size()), row.got);
        EXPECT_EQ(bytes[0], row.first);
        EXPECT_EQ(file.ReadAt(-1, bytes.data(), 1), -1);
    }
}

} // namespace
