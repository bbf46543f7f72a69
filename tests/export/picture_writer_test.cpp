// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Picture files of every type: the type a name asks for, a still WebP read back pixel for
// pixel, the WebP's limit, and the temporary file a new picture is made in.

#include "export/picture_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <webp/decode.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/test_support.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;
using testing_support::namesIn;
using testing_support::scratchFolder;

struct TypeCase {
    const char* name;
    std::optional<PictureType> type;
};

TEST(PictureType, ComesFromTheNameAlone) {
    const std::vector<TypeCase> cases = {
        {"a.png", PictureType::png},
        {"dir/a.b.png", PictureType::png},
        {"-", PictureType::png},
        {"a.webp", PictureType::webp},
        {"a.svg", std::nullopt},
        {"a.PNG", PictureType::png},  // the ending in any case
        {"dir/B.WebP", PictureType::webp},
        {"a.png.gz", std::nullopt},
        {"picture", std::nullopt},
        {"frames/", std::nullopt},
        {".png", std::nullopt},  // a name that is nothing but its ending, in any folder
        {"dir/.webp", std::nullopt},
        {"/home/u/.PNG", std::nullopt},
        {"dir.png/", std::nullopt},
        {"./a.png", PictureType::png},
        {"", std::nullopt},
    };
    for (const TypeCase& c : cases) {
        EXPECT_EQ(pictureTypeOf(c.name), c.type) << c.name;
    }
}

// A few colours in a pattern that differs from row to row.
PackedColour colourAt(int col, int row) {
    return packColour((col * 37) % 256, (row * 91) % 256, ((col + row) * 13) % 256);
}

TEST(StillWebp, IsLosslessAndLeavesNothingElse) {
    const fs::path folder = scratchFolder("still-webp");
    const PngFormat format{23, 7, {}};
    writePicture(folder / "out.webp", PictureType::webp, format,
                 [](int row, std::span<PackedColour> out) {
                     for (std::size_t col = 0; col < out.size(); ++col) {
                         out[col] = colourAt(static_cast<int>(col), row);
                     }
                 });
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"out.webp"});
    std::ifstream in(folder / "out.webp", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string data = bytes.str();
    int width = 0;
    int height = 0;
    std::uint8_t* rgb = WebPDecodeRGB(reinterpret_cast<const std::uint8_t*>(data.data()),
                                      data.size(), &width, &height);
    ASSERT_NE(rgb, nullptr);
    ASSERT_EQ(width, format.width);
    ASSERT_EQ(height, format.height);
    int wrong = 0;
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const std::uint8_t* p = rgb + 3 * (row * width + col);
            wrong += packColour<int>(p[0], p[1], p[2]) != colourAt(col, row) ? 1 : 0;
        }
    }
    WebPFree(rgb);
    EXPECT_EQ(wrong, 0);
    fs::remove_all(folder);
}

TEST(StillWebp, RefusesLibwebpsLimitBeforeMakingAFile) {
    const fs::path folder = scratchFolder("webp-limit");
    for (const PngFormat& format : {PngFormat{maxWebpSide + 1, 1, {}},
                                    PngFormat{1, maxWebpSide + 1, {}}, PngFormat{0, 1, {}}}) {
        OutputFile file = OutputFile::replacing(folder / "big.webp");
        EXPECT_THROW(PictureWriter(file, PictureType::webp, format), std::invalid_argument);
        EXPECT_THROW(AnimatedWebpWriter(file, format.width, format.height, 30),
                     std::invalid_argument);
    }
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{});
    fs::remove_all(folder);
}

// A new file is made hidden beside its target, as ".NAME.vantu-XXXXXX", with the permissions
// open() would give it under the umask; an existing one keeps its own.
TEST(TemporaryFile, IsHiddenBesideTheTargetWithTheUmasksPermissions) {
    const fs::path folder = scratchFolder("temporary");
    const mode_t old = ::umask(027);
    {
        OutputFile file = OutputFile::replacing(folder / "new.png");
        const std::vector<std::string> names = namesIn(folder);
        ASSERT_EQ(names.size(), 1U);
        EXPECT_TRUE(std::regex_match(names[0], std::regex(R"(\.new\.png\.vantu-[A-Za-z0-9]{6})")))
            << names[0];
        file.commit();
    }
    struct stat made {};
    ASSERT_EQ(::stat((folder / "new.png").c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 07777U, 0640U);
    ::umask(old);
    fs::remove_all(folder);
}

// A name is the program's text, byte for byte: UTF-8 in any script, and on Linux bytes that are
// no UTF-8 at all, written under that name and said in messages as given.
TEST(FileName, IsTheProgramsTextByteForByte) {
    const fs::path folder = scratchFolder("names");
    for (const std::string name : {"Ωμέγα-日本.png", "a b.png", "\xff\xfe.png"}) {
        const std::string text = pathText(folder) + "/" + name;
        EXPECT_EQ(pathText(filePath(text)), text);
        OutputFile file = OutputFile::replacing(filePath(text));
        file.commit();
        EXPECT_TRUE(fs::exists(folder / name)) << name;
    }
    fs::remove_all(folder);
}

// Waited for briefly, as a window's thread waits, a FIFO without a reader is refused at once,
// one whose reader takes nothing is given up after a second, and a reader that reads gets all.
TEST(BriefWait, GivesUpOnAReaderThatTakesNothing) {
    const fs::path folder = scratchFolder("brief-wait");
    const fs::path fifo = folder / "fifo.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string name = "'" + fifo.string() + "'";
    EXPECT_THROW_MSG((void)OutputFile::replacing(fifo, ReaderWait::briefly), WriteError,
                     "cannot write " + name + ": nothing is reading from " + name);
    const std::vector<std::byte> bytes(std::size_t{1} << 20U, std::byte{7});
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    {
        OutputFile out = OutputFile::replacing(fifo, ReaderWait::briefly);
        EXPECT_THROW_MSG(
            {
                out.write(bytes);
                out.close();
            },
            WriteError,
            "cannot write " + name + ": the reader of " + name + " took more than a second");
    }
    char drain[1 << 16];
    while (::read(reader, drain, sizeof drain) > 0) {
    }
    ASSERT_EQ(::fcntl(reader, F_SETFL, 0), 0);
    std::size_t received = 0;
    std::thread reading([&] {
        for (ssize_t n = 0; (n = ::read(reader, drain, sizeof drain)) > 0;) {
            received += static_cast<std::size_t>(n);
        }
    });
    // Four times the pipe's usual buffer, so that the reader must take it as it comes. The file
    // is closed within the block whatever happens, so that the reader sees its end.
    const std::span<const std::byte> picture(bytes.data(), std::size_t{1} << 18U);
    EXPECT_NO_THROW({
        OutputFile out = OutputFile::replacing(fifo, ReaderWait::briefly);
        out.write(picture);
        out.close();
    });
    reading.join();
    ::close(reader);
    EXPECT_EQ(received, picture.size());
    fs::remove_all(folder);
}

}  // namespace
}  // namespace vantu
