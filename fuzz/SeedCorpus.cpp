// Writes the seed corpus of each fuzz target into <folder>/<target>: small well-formed
// pictures, ZIP and PCO books and kernel inputs, made at run time from the test fixtures.
#include "ArchiveFixtures.h"
#include "BookFixtures.h"
#include "ImageFixtures.h"

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using fixtures::Bytes;

QImage Page(int width, int height, unsigned seed)
{
    return fixtures::ScanLikePage(width, height, seed);
}

QImage WithTransparentCorner(const QImage& page)
{
    QImage image = page.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height() / 2; ++y)
        for (int x = 0; x < image.width() / 2; ++x)
            image.setPixel(x, y, qRgba(0, 0, 0, 0));
    return image;
}

std::vector<Bytes> Pictures()
{
    return {
        fixtures::EncodeJpeg(Page(24, 17, 1), 85),
        fixtures::EncodeJpeg(Page(19, 30, 2), 60, true),
        fixtures::EncodeJpeg(Page(1, 1, 3), 95),
        fixtures::EncodeGif(WithTransparentCorner(Page(20, 12, 4))),
        fixtures::EncodeBmp(Page(13, 9, 5)),
        fixtures::EncodeGif(Page(22, 14, 6)),
        fixtures::EncodeWithImageMagick(Page(9, 11, 7), "GIF", {"-interlace", "GIF"}),
    };
}

class CorpusWriter {
public:
    explicit CorpusWriter(std::filesystem::path root) : m_root(std::move(root)) {}

    std::string NextPath(const std::string& target)
    {
        const std::filesystem::path folder = m_root / target;
        std::filesystem::create_directories(folder);
        return (folder / ("seed-" + std::to_string(m_count++))).string();
    }
    bool Add(const std::string& target, const Bytes& bytes) { return fixtures::WriteFile(NextPath(target), bytes); }

private:
    std::filesystem::path m_root;
    int m_count = 0;
};

bool WriteSeeds(CorpusWriter& corpus)
{
    bool ok = true;
    const std::vector<Bytes> pictures = Pictures();
    for (const Bytes& picture : pictures)
        ok = corpus.Add("picture", picture) && ok;

    ok = fixtures::WriteZip(corpus.NextPath("zip"), {{"book/", {}, true},
                                                     {"book/001.jpg", pictures[0], true},
                                                     {"book/002.GIF", pictures[3], false},
                                                     {"notes.txt", {'h', 'i'}, true},
                                                     {"book/003.bmp", pictures[4], true}})
         && ok;
    ok = fixtures::WriteZip(corpus.NextPath("zip"), {{"a.jpg", pictures[2], false}}) && ok;

    ok = fixtures::WriteRar4(corpus.NextPath("archive_book"), {{"book/001.jpg", pictures[0]}, {"notes.txt", {'h'}},
                                                              {"book/002.gif", pictures[3]}})
         && ok;
    ok = corpus.Add("archive_book", fixtures::TarBytes({{"a.jpg", pictures[2]}, {"l.jpg", {}, '2', "a.jpg"},
                                                        {"b.bmp", pictures[4]}}))
         && ok;

    ok = corpus.Add("pco", fixtures::PcoBook("book", {pictures[0], pictures[2]})) && ok;
    ok = corpus.Add("pco", fixtures::PcoBytes("", 3, {{0, 4}, {4, 4}, {2, 9}}, fixtures::PatternBytes(16, 7))) && ok;
    ok = corpus.Add("pco", fixtures::PcoBytes("x", -1, {}, fixtures::PatternBytes(4, 8))) && ok;

    // Flags, four sides, eight coordinates, then pixels.
    for (unsigned flags = 0; flags < 8; ++flags) {
        Bytes input{static_cast<std::uint8_t>(flags)};
        const Bytes rest = fixtures::PatternBytes(60 + 40 * flags, flags + 11);
        input.insert(input.end(), rest.begin(), rest.end());
        ok = corpus.Add("kernels", input) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    CorpusWriter corpus(argv[1]);
    if (!WriteSeeds(corpus)) {
        std::fprintf(stderr, "could not write the seed corpus into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
