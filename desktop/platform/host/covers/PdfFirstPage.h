#pragma once

// The one entry of the PDF module (see PdfCover): poppler and the libraries it pulls in live in a
// module beside the program, opened the first time a PDF needs a cover, so that a start whose
// covers are all cached never loads them. The entry has C linkage: no exception and no C++ type
// crosses the module's edge.
extern "C" {

// Given the page's size in points, the scale to render it at; 0 or less gives the page up.
typedef double (*MarrowleafPdfScale)(double page_width, double page_height, void* context);
// Receives the rendered page: 32-bit ARGB pixels, `stride` bytes a row, valid during the call.
typedef void (*MarrowleafPdfSink)(const unsigned char* pixels, int width, int height, int stride,
                                  void* context);
// Renders the first page of the PDF file at `path`; 0 when the sink got it. Locked, damaged or
// empty documents give -1.
typedef int (*MarrowleafPdfFirstPage)(const char* path, MarrowleafPdfScale scale,
                                      MarrowleafPdfSink sink, void* context);

}  // extern "C"

namespace marrowleaf::platform {

constexpr const char* kPdfModuleFile = "marrowleaf-pdf.so";
constexpr const char* kPdfFirstPageSymbol = "marrowleaf_pdf_first_page";

}  // namespace marrowleaf::platform
