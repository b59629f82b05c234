#include "SampleCovers.h"

// Built only when the generator links the cover library (platform_covers), which draws the
// pictures and knows the cover store.
#if defined(MARROWLEAF_SAMPLE_COVERS)

#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "BookFiles.h"
#include "platform/sdk/covers.h"
#include "platform/utils/SerializationUtils.h"

extern char** environ;

namespace marrowleaf::tools {
namespace {

const char kDatabase[] = "/mnt/ext1/system/explorer-3/explorer-3.db";
const char kStoreCovers[] = "/mnt/ext1/system/store/covers/";
const char kShelf[] = "/mnt/ext1/Books/Covers/";
// Books of the generated mass library share no covers: they would only slow the generator.
const char kGeneratedFolder[] = "/mnt/ext1/Library/";
// The one FB2 of the sample library left without a picture, so the text cover shows too.
const char kWithoutCover[] = "Dubliners";
constexpr int kCoverWidth = 480;
constexpr int kCoverHeight = 720;

struct BookRow {
  std::string title;
  std::string author;
  std::string path;  // device path
  std::string fast_hash;
  std::string resource_id;
  int storage = 0;
};

uint32_t Hash(const std::string& text) {
  uint32_t hash = 2166136261u;
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    const double channel = ((a >> shift) & 0xff) * (1 - t) + ((b >> shift) & 0xff) * t;
    out |= static_cast<uint32_t>(std::lround(channel)) << shift;
  }
  return out;
}

// A cover: the title set in type above a small landscape (sky, sun and hills in colours chosen by
// the title), so that each book is recognisable on the shelf.
SmartBitmap DrawCover(const std::string& title, const std::string& author) {
  SmartBitmap cover = MakeTypographicCover(title, author, kCoverWidth, kCoverHeight);
  if (cover.IsEmpty())
    cover = SmartBitmap::Create(kCoverWidth, kCoverHeight, 0xF0E8D8);
  static const uint32_t kSkies[][2] = {
      {0x2B4C7E, 0xF2C57C}, {0x1F5F5B, 0xE8E2B0}, {0x5B2A4E, 0xF7B267}, {0x23395B, 0x8EA8C3}};
  const uint32_t hash = Hash(title);
  const uint32_t* sky = kSkies[hash % 4];
  const int top = kCoverHeight * 11 / 20;
  const double sun_x = kCoverWidth * (0.25 + (hash >> 8) % 50 / 100.0);
  const double sun_y = top + (kCoverHeight - top) * 0.35;
  uint32_t* pixels = cover.MutableData();
  for (int y = top; y < kCoverHeight; ++y) {
    const double t = static_cast<double>(y - top) / (kCoverHeight - top);
    for (int x = 0; x < kCoverWidth; ++x) {
      uint32_t color = Mix(sky[0], sky[1], t);
      if (std::hypot(x - sun_x, y - sun_y) < kCoverWidth / 10.0)
        color = 0xFFF4D6;
      const double hill =
          kCoverHeight - (kCoverHeight - top) * (0.3 + 0.12 * std::sin(x / 40.0 + hash % 7));
      if (y > hill)
        color = Mix(0x2E4A2E, 0x121F12, (y - hill) / (kCoverHeight - hill + 1));
      pixels[static_cast<size_t>(y) * kCoverWidth + x] = 0xFF000000u | color;
    }
  }
  return cover;
}

std::string CoverJpeg(const std::string& title, const std::string& author) {
  const SmartBitmap cover = DrawCover(title, author);
  return BookFiles::Jpeg(cover.Data(), cover.Width(), cover.Height());
}

bool WriteFile(const std::string& host_path, const std::string& content) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(host_path).parent_path(), ignored);
  const std::string temporary = host_path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!(out << content))
      return false;
  }
  return std::rename(temporary.c_str(), host_path.c_str()) == 0;
}

std::string Blob(sqlite3_stmt* statement, int column) {
  const void* data = sqlite3_column_blob(statement, column);
  return data ? std::string(static_cast<const char*>(data),
                            static_cast<size_t>(sqlite3_column_bytes(statement, column)))
              : std::string();
}

std::string Text(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  return text ? reinterpret_cast<const char*>(text) : "";
}

bool ReadBooks(const std::string& host_root, std::vector<BookRow>* books, std::string* error) {
  sqlite3* db = nullptr;
  const std::string path = host_root + kDatabase;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    *error = "can't open " + path;
    sqlite3_close(db);
    return false;
  }
  const char* sql =
      "SELECT b.title, b.author, d.name || '/' || f.filename, f.fast_hash, b.resource_id, "
      "f.storageid FROM books_impl b JOIN files f ON f.book_id = b.id JOIN folders d ON d.id = "
      "f.folder_id";
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
    *error = std::string("can't read the books: ") + sqlite3_errmsg(db);
    sqlite3_close(db);
    return false;
  }
  while (sqlite3_step(statement) == SQLITE_ROW) {
    BookRow row{Text(statement, 0), Text(statement, 1), Text(statement, 2),
                Blob(statement, 3), Blob(statement, 4), sqlite3_column_int(statement, 5)};
    if (row.path.rfind(kGeneratedFolder, 0) != 0)
      books->push_back(std::move(row));
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return true;
}

std::string Extension(const std::string& path) {
  const size_t dot = path.rfind('.');
  return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string Base64(const std::string& bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size())
      v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size())
      v |= static_cast<unsigned char>(bytes[i + 2]);
    text += kAlphabet[(v >> 18) & 63];
    text += kAlphabet[(v >> 12) & 63];
    text += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
    text += i + 2 < bytes.size() ? kAlphabet[v & 63] : '=';
    if (i % 57 == 54)
      text += '\n';
  }
  return text;
}

// The file of one library book, by its kind; "" leaves the file as the library wrote it.
std::string BookContent(const BookRow& row) {
  const std::string extension = Extension(row.path);
  if (extension == "pdf")
    return BookFiles::Pdf(row.title, 0.15 + (Hash(row.title) % 5) / 10.0, 0.3, 0.55);
  if (extension != "fb2")
    return std::string();
  if (row.title == kWithoutCover)
    return BookFiles::Fb2(row.title, row.author, "", "");
  const SmartBitmap cover = DrawCover(row.title, row.author);
  const std::string png = cover.EncodePNG();
  return BookFiles::Fb2(row.title, row.author, png, Base64(png));
}

bool WriteLibraryBooks(const std::string& host_root, const std::vector<BookRow>& books,
                       std::string* error) {
  using utilities::SerializationUtils;
  for (const BookRow& row : books) {
    // Books without a local file (cloud) and samples get their picture in the cover store.
    if (row.storage == 4 || row.path.find("(sample)") != std::string::npos) {
      const std::string jpeg = CoverJpeg(row.title, row.author);
      for (const std::string& id : {row.resource_id, row.fast_hash}) {
        if (!id.empty() &&
            !WriteFile(host_root + kLibraryCoverStore + SerializationUtils::ToHex(id) + ".jpg",
                       jpeg)) {
          *error = "can't write the stored cover of " + row.title;
          return false;
        }
      }
    }
    if (row.storage == 4)
      continue;
    const std::string content = BookContent(row);
    if (!content.empty() && !WriteFile(host_root + row.path, content)) {
      *error = "can't write " + row.path;
      return false;
    }
  }
  return true;
}

bool WriteStoreCovers(const std::string& host_root, std::string* error) {
  const char* offers[][3] = {{"weekly_picks_0", "The Quiet Harbour", "Mara Lind"},
                             {"weekly_picks_1", "Winter Orchard", "Tomas Reed"},
                             {"weekly_picks_2", "Voices of the Delta", "Ana Sol"},
                             {"weekly_picks_3", "The Lantern Keeper", "Jon Wilde"},
                             {"book_of_the_day_0", "Northern Lights Over Ice", "Kari Fjell"},
                             {"store_news", "Summer reading festival", "Two weeks of discounts"}};
  for (const auto& offer : offers) {
    if (!WriteFile(host_root + kStoreCovers + offer[0] + ".jpg", CoverJpeg(offer[1], offer[2]))) {
      *error = std::string("can't write the store cover ") + offer[0];
      return false;
    }
  }
  return true;
}

bool RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A DjVu page made from the drawn cover by the DjVuLibre encoder, when it is installed.
void WriteDjvu(const std::string& host_path) {
  const SmartBitmap cover = DrawCover("Atlas of Old Maps", "Cartographers' Guild");
  std::string ppm =
      "P6\n" + std::to_string(cover.Width()) + " " + std::to_string(cover.Height()) + "\n255\n";
  const uint32_t* pixel = cover.Data();
  for (size_t i = 0; i < static_cast<size_t>(cover.Width()) * cover.Height(); ++i) {
    ppm += static_cast<char>(pixel[i] >> 16);
    ppm += static_cast<char>(pixel[i] >> 8);
    ppm += static_cast<char>(pixel[i]);
  }
  const std::string ppm_path = host_path + ".ppm";
  if (WriteFile(ppm_path, ppm))
    RunProgram({"c44", ppm_path, host_path});
  std::remove(ppm_path.c_str());
}

bool WriteShelf(const std::string& host_root, std::string* error) {
  const std::string shelf = host_root + kShelf;
  const std::string jpeg = CoverJpeg("The Lighthouse Keepers", "Eva Strand");
  const SmartBitmap comic = DrawCover("Captain Comet", "Studio Nine");
  const std::string files[][2] = {
      {"The Lighthouse Keepers.epub",
       BookFiles::Epub(2, "The Lighthouse Keepers", "Eva Strand", jpeg)},
      {"Gardens of Glass.epub",
       BookFiles::Epub(3, "Gardens of Glass", "Ilya Moor",
                       DrawCover("Gardens of Glass", "Ilya Moor").EncodePNG(), "image/png")},
      {"Salt Roads.epub",
       BookFiles::Epub(3, "Salt Roads", "Hana Okoro", CoverJpeg("Salt Roads", "Hana Okoro"),
                       "image/jpeg", true)},
      {"A Book of Plain Words.epub", BookFiles::Epub(2, "A Book of Plain Words", "Lee Park", "")},
      {"Captain Comet.cbz",
       BookFiles::Zip(
           {{"page002.jpg", CoverJpeg("Page two", "")},
            {"page001.jpg", BookFiles::Jpeg(comic.Data(), comic.Width(), comic.Height())}})},
      {"River Songs.mobi", BookFiles::Mobi("River Songs", CoverJpeg("River Songs", "Tam Vo"))},
  };
  for (const auto& file : files) {
    if (!WriteFile(shelf + file[0], file[1])) {
      *error = "can't write " + std::string(kShelf) + file[0];
      return false;
    }
  }
  WriteDjvu(shelf + "Atlas of Old Maps.djvu");
  return true;
}

}  // namespace

bool WriteSampleBookFiles(const std::string& host_root, std::string* error) {
  std::vector<BookRow> books;
  return ReadBooks(host_root, &books, error) && WriteLibraryBooks(host_root, books, error) &&
         WriteStoreCovers(host_root, error) && WriteShelf(host_root, error);
}

}  // namespace marrowleaf::tools

#else  // MARROWLEAF_SAMPLE_COVERS

#include <iostream>

namespace marrowleaf::tools {

// A build without the cover readers (the armhf core) keeps the small placeholder book files that
// the library step wrote; the home screen then shows typographic covers.
bool WriteSampleBookFiles(const std::string&, std::string*) {
  std::cerr << "make-sample-device: this build has no cover readers; book files keep no covers\n";
  return true;
}

}  // namespace marrowleaf::tools

#endif  // MARROWLEAF_SAMPLE_COVERS
