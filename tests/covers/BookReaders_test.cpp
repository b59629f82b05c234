#include <gtest/gtest.h>

#include "Base64.h"
#include "CbzCover.h"
#include "EpubCover.h"
#include "EpubPackage.h"
#include "Fb2Cover.h"
#include "MobiCover.h"
#include "ZipReader.h"
#include "covers/CoverPictures.h"

namespace marrowleaf::platform {
namespace {

using tools::BookFiles;

bool EpubPicture(const std::string& book, std::string* picture, std::string* title = nullptr) {
  std::unique_ptr<ZipReader> zip = ZipReader::OpenBytes(book);
  return zip && EpubCover::Extract(*zip, CoverDeadline(), picture, title);
}

TEST(EpubCover, FindsTheCoverDeclaredByEpub2MetaAndByTheEpub3Property) {
  const std::string jpeg = test::TwoBandJpeg(60, 90);
  std::string picture;
  std::string title;
  ASSERT_TRUE(EpubPicture(BookFiles::Epub(2, "Old Style", "A", jpeg), &picture, &title));
  EXPECT_EQ(jpeg, picture);
  EXPECT_EQ("Old Style", title);
  const std::string png = test::TwoBandPng(60, 90);
  ASSERT_TRUE(EpubPicture(BookFiles::Epub(3, "New Style", "B", png, "image/png"), &picture));
  EXPECT_EQ(png, picture);
}

TEST(EpubCover, FallsBackToTheFirstPictureOfTheFirstChapterAndGivesNothingWithoutPictures) {
  const std::string jpeg = test::TwoBandJpeg(40, 60);
  std::string picture;
  ASSERT_TRUE(EpubPicture(BookFiles::Epub(3, "T", "A", jpeg, "image/jpeg", true), &picture));
  EXPECT_EQ(jpeg, picture);
  EXPECT_FALSE(EpubPicture(BookFiles::Epub(2, "T", "A", ""), &picture));
}

TEST(EpubCover, RefusesPathsThatLeaveTheArchiveAndResolvesRelativeOnes) {
  EXPECT_EQ("OEBPS/images/a b.jpg", EpubPackage::Resolve("OEBPS/text/", "../images/a%20b.jpg#x"));
  EXPECT_EQ("", EpubPackage::Resolve("OEBPS/", "../../etc/passwd"));
  EXPECT_EQ("", EpubPackage::Resolve("", "/etc/passwd"));
  EXPECT_EQ("", EpubPackage::Resolve("", "http://example.com/a.jpg"));
}

TEST(EpubCover, GivesNothingForBrokenDeepOrBombedArchives) {
  std::string picture;
  const std::string book = BookFiles::Epub(2, "T", "A", test::TwoBandJpeg(40, 60));
  EXPECT_FALSE(EpubPicture(book.substr(0, book.size() / 2), &picture));
  EXPECT_FALSE(EpubPicture("PK\x03\x04 not really an archive", &picture));

  // A package nested far deeper than any real book.
  std::string deep = "<?xml version=\"1.0\"?><package>";
  for (int i = 0; i < 5000; ++i) deep += "<a>";
  BookFiles::Entries deep_entries = {{"META-INF/container.xml", BookFiles::Container("p.opf")},
                                     {"p.opf", deep}};
  EXPECT_FALSE(EpubPicture(BookFiles::Zip(deep_entries), &picture));

  // A "cover" that unpacks to far more than any picture: reading stops at the cap.
  std::string opf =
      "<package><manifest><item id=\"c\" href=\"big.jpg\" media-type=\"image/jpeg\" "
      "properties=\"cover-image\"/></manifest></package>";
  BookFiles::Entries bomb = {{"META-INF/container.xml", BookFiles::Container("p.opf")},
                             {"p.opf", opf},
                             {"big.jpg", std::string(100u * 1024 * 1024, '\0')}};
  const std::string archive = BookFiles::Zip(bomb);
  ASSERT_LT(archive.size(), 1024u * 1024);
  EXPECT_FALSE(EpubPicture(archive, &picture));
  EXPECT_TRUE(picture.empty());
}

TEST(Fb2Cover, DecodesTheCoverpageBinaryAndReadsTitleAndAuthor) {
  const std::string png = test::TwoBandPng(30, 40);
  const std::string book = BookFiles::Fb2("Sea Book", "Nora", png, Base64::Encode(png));
  std::string picture;
  std::string title;
  std::string author;
  ASSERT_TRUE(Fb2Cover::Extract(book, &picture, &title, &author));
  EXPECT_EQ(png, picture);
  EXPECT_EQ("Sea Book", title);
  EXPECT_EQ("Nora", author);
  EXPECT_FALSE(Fb2Cover::Extract(BookFiles::Fb2("T", "A", "", ""), &picture));
  EXPECT_FALSE(Fb2Cover::Extract(BookFiles::Fb2("T", "A", png, "@@not base64@@"), &picture));
  EXPECT_FALSE(Fb2Cover::Extract(book.substr(0, book.size() - 40), &picture));
}

TEST(Base64, RoundTripsEveryLengthAndSkipsLineBreaks) {
  for (const std::string bytes : {"", "a", "ab", "abc", "abcd", "\xff\x00\x10"}) {
    std::string encoded = Base64::Encode(bytes);
    encoded.insert(encoded.size() / 2, "\n ");
    std::string decoded;
    ASSERT_TRUE(Base64::Decode(encoded.data(), encoded.size(), 100, &decoded));
    EXPECT_EQ(bytes, decoded);
  }
  std::string decoded;
  EXPECT_FALSE(Base64::Decode("QUJD", 4, 2, &decoded));
}

TEST(MobiCover, TakesTheRecordThatExth201PointsAt) {
  const std::string jpeg = test::TwoBandJpeg(40, 60);
  const std::string book = BookFiles::Mobi("Kindled", jpeg);
  std::string picture;
  std::string title;
  ASSERT_TRUE(MobiCover::Extract(book, &picture, &title));
  EXPECT_EQ(jpeg, picture);
  EXPECT_EQ("Kindled", title);
}

TEST(MobiCover, GivesNothingForWrongOffsetsAndTruncatedFiles) {
  const std::string book = BookFiles::Mobi("Kindled", test::TwoBandJpeg(40, 60));
  std::string picture;
  for (size_t cut : {size_t{10}, size_t{80}, size_t{200}, size_t{400}}) {
    EXPECT_FALSE(MobiCover::Extract(book.substr(0, cut), &picture)) << "cut at " << cut;
  }
  std::string backwards = book;
  backwards[78 + 8 + 3] = '\x01';  // the second record starts before the first
  EXPECT_FALSE(MobiCover::Extract(backwards, &picture));
  std::string far = book;
  far[78 + 8 * 2] = '\x7f';  // the picture record starts far past the end
  EXPECT_FALSE(MobiCover::Extract(far, &picture));
}

TEST(CbzCover, TakesTheFirstPictureInNameOrderSkippingHiddenFiles) {
  const std::string first = test::TwoBandPng(20, 30);
  BookFiles::Entries pages = {{"page10.png", "x"},
                              {"__MACOSX/._page00.png", "junk"},
                              {"notes.txt", "text"},
                              {"page01.png", first},
                              {"page02.jpg", "y"}};
  std::unique_ptr<ZipReader> zip = ZipReader::OpenBytes(BookFiles::Zip(pages));
  ASSERT_TRUE(zip);
  EXPECT_EQ("page01.png", CbzCover::FirstPictureName(*zip));
  std::string picture;
  ASSERT_TRUE(CbzCover::Extract(*zip, CoverDeadline(), &picture));
  EXPECT_EQ(first, picture);
}

TEST(ZipReader, StopsAtTheDeadlineAndAtTheArchiveWideCap) {
  BookFiles::Entries entries = {{"a", std::string(1000, 'a')}};
  for (int i = 0; i < 7; ++i)
    entries.emplace_back("big" + std::to_string(i), std::string(10u * 1024 * 1024, 'b'));
  std::unique_ptr<ZipReader> zip = ZipReader::OpenBytes(BookFiles::Zip(entries));
  ASSERT_TRUE(zip);
  std::string content;
  EXPECT_FALSE(zip->Read("a", 1u << 20, CoverDeadline(std::chrono::milliseconds(0)), &content));
  EXPECT_TRUE(zip->Read("a", 1u << 20, CoverDeadline(), &content));
  int read = 0;
  for (int i = 0; i < 7; ++i)
    read += zip->Read("big" + std::to_string(i), 16u << 20, CoverDeadline(), &content) ? 1 : 0;
  // 48 MiB of unpacked bytes pass, the rest of the 70 MiB do not.
  EXPECT_EQ(4, read);
}

}  // namespace
}  // namespace marrowleaf::platform
