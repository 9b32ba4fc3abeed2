#include "png_writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
std::uint32_t bigEndian(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// Reassembles the filtered scanlines from the stored deflate blocks of the IDAT chunk.
std::vector<std::uint8_t> storedPayload(const std::vector<std::uint8_t>& zlib) {
  std::vector<std::uint8_t> out;
  size_t pos = 2;
  for (bool last = false; !last;) {
    last = zlib[pos] & 1;
    const size_t n = zlib[pos + 1] | (zlib[pos + 2] << 8);
    EXPECT_EQ(n ^ 0xFFFF, static_cast<size_t>(zlib[pos + 3] | (zlib[pos + 4] << 8)));
    out.insert(out.end(), zlib.begin() + pos + 5, zlib.begin() + pos + 5 + n);
    pos += 5 + n;
  }
  EXPECT_EQ(pos + 4, zlib.size()); // only the Adler-32 trailer follows
  return out;
}
} // namespace

TEST(PngWriter, HeaderChunksAndPixelsRoundTrip) {
  kqshot::RgbImage image;
  image.width = 300; // 300 x 80 x 3 + 80 filter bytes: more than one stored block
  image.height = 80;
  for (int i = 0; i < image.width * image.height * 3; ++i)
    image.pixels.push_back(static_cast<std::uint8_t>(i * 7));
  const std::vector<std::uint8_t> png = kqshot::EncodePng(image);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  EXPECT_EQ(std::memcmp(png.data() + 12, "IHDR", 4), 0);
  EXPECT_EQ(bigEndian(png.data() + 16), 300u);
  EXPECT_EQ(bigEndian(png.data() + 20), 80u);
  // The IEND chunk and its well-known CRC close the file.
  EXPECT_EQ(std::memcmp(png.data() + png.size() - 8, "IEND\xAE\x42\x60\x82", 8), 0);

  const size_t idat = 8 + 25;
  ASSERT_EQ(std::memcmp(png.data() + idat + 4, "IDAT", 4), 0);
  const size_t length = bigEndian(png.data() + idat);
  std::vector<std::uint8_t> zlib(png.begin() + idat + 8, png.begin() + idat + 8 + length);
  const std::vector<std::uint8_t> raw = storedPayload(zlib);
  ASSERT_EQ(raw.size(), static_cast<size_t>(80 * (300 * 3 + 1)));
  EXPECT_EQ(raw[0], 0); // filter byte of row 0
  EXPECT_EQ(raw[1 + 5], image.pixels[5]);
  EXPECT_EQ(raw[(300 * 3 + 1) * 79 + 1], image.pixels[300 * 3 * 79]);
}

TEST(PngWriter, AnEmptyOrInconsistentImageGivesNothing) {
  kqshot::RgbImage image;
  EXPECT_TRUE(kqshot::EncodePng(image).empty());
  image.width = 2;
  image.height = 2;
  image.pixels.resize(5); // should be 12
  EXPECT_TRUE(kqshot::EncodePng(image).empty());
}
