// Covers of books: the pictures that book files carry, first pages rendered as pictures, and the
// serial numbers of the removable storages (thumbnails of their books are kept per storage).
#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

// Load flag: JPEG pictures are decoded at a reduced scale when they are much larger than the size
// asked for (1/2, 1/4 or 1/8, never below the size asked for).
constexpr int LOAD_IMAGE_REDUCED_SCALE = 8;
// The flags of the cover loads that follow, on every thread.
void SetLoadImageFlags(int flags);
int GetLoadImageFlags();

// The picture a book file carries as its cover (EPUB, FB2, MOBI/AZW3, CBZ, PDF and DjVu first
// pages, and PNG or JPEG files themselves), in the colour-display format when `color` is nonzero,
// else grey. width and height -1 ask for the picture at its own size; given sizes are the smallest
// size the caller will scale it to, which lets large JPEGs be decoded at a reduced scale (the
// result may still be larger than asked). Books with drm other than 0 are encrypted and give an
// empty bitmap, as does a book without a cover, a damaged or hostile one (size, pixel and time
// limits apply to every book), and a book that failed before and has not changed since.
SmartBitmap GetBookCoverEx(const char* path, int width, int height, int color, int drm);

// Renders the first page of a book into a PNG thumbnail of width x height at thumb_path (device
// paths), written atomically: PDF and DjVu pages, the first picture of a comic book archive or of
// the first chapter of an EPUB, or a typographic cover made from the book's title and author.
// `flags` is reserved. 0 on success, -1 when nothing could be made.
int RunAdobeScanner(const char* book_path, const char* thumb_path, int width, int height,
                    int flags);

// The same first page as a bitmap of about width x height (the scale may leave it larger), in the
// display's format. Empty when nothing could be made.
SmartBitmap RenderBookFirstPage(const char* book_path, int width, int height);

// A plain cover set in type from a title and an author, width x height, in the display's format.
SmartBitmap MakeTypographicCover(const std::string& title, const std::string& author, int width,
                                 int height);

// The memory card's serial number as hexadecimal text ("" without a card or a serial number).
const char* GetExternalCardSerialNumber();
// The USB storage's serial number ("" or nullptr when it has none).
const char* usbStorSerialNumber();

// The library's cover store keeps pictures of books that have no local file with a cover (cloud
// books, store samples): "/mnt/ext1/system/explorer-3/covers/<hex>.jpg" (or ".png"), where <hex>
// is the book's fast hash or resource id in lowercase hexadecimal.
constexpr char kLibraryCoverStore[] = "/mnt/ext1/system/explorer-3/covers/";
// The stored picture of a book by fast hash, else by resource id, scaled to width x height (-1
// keeps its size), in the colour-display format. `kind` and `flags` are reserved; with
// only_cached nothing is fetched from the network (the simulator never fetches). True when
// bitmap was filled.
bool LoadCoverByHashOrResourceId(const std::string& fast_hash, int kind,
                                 const std::string& resource_id, int width, int height, int flags,
                                 SmartBitmap& bitmap, bool only_cached);
