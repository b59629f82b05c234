// Book files without pictures or archives, made in memory: FB2 and one-page PDF. The sample
// library writes them in every build (the core build too); BookFiles adds the formats that need
// libjpeg and libzip.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace marrowleaf::tools {

class PlainBookFiles {
 public:
  // An FB2 book; with a PNG cover (and its base64 text) the cover page shows it.
  static std::string Fb2(const std::string& title, const std::string& author,
                         const std::string& cover_png = "", const std::string& base64_cover = "") {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<FictionBook "
        "xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\" "
        "xmlns:l=\"http://www.w3.org/1999/xlink\">\n<description><title-info><author><first-name>" +
        Escape(author) + "</first-name></author><book-title>" + Escape(title) + "</book-title>";
    if (!cover_png.empty())
      text += "<coverpage><image l:href=\"#cover.png\"/></coverpage>";
    text += "<lang>en</lang></title-info></description>\n<body><section><title><p>" +
            Escape(title) +
            "</p></title><p>This sample book has one short page.</p></section>"
            "</body>\n";
    if (!cover_png.empty())
      text += "<binary id=\"cover.png\" content-type=\"image/png\">" + base64_cover + "</binary>\n";
    return text + "</FictionBook>\n";
  }

  // A one-page PDF whose page shows a coloured band, a frame and the title.
  static std::string Pdf(const std::string& title, double red = 0.2, double green = 0.35,
                         double blue = 0.6) {
    char color[64];
    std::snprintf(color, sizeof color, "%.2f %.2f %.2f rg", red, green, blue);
    const std::string stream = std::string(color) +
                               " 0 500 612 292 re f 0 0 0 RG 4 w 36 36 540 720 re S BT /F1 36 Tf "
                               "0 0 0 rg 72 400 Td (" +
                               PdfText(title) + ") Tj ET";
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R /Resources << "
        "/Font << /F1 5 0 R >> >> >>",
        "<< /Length " + std::to_string(stream.size()) + " >>\nstream\n" + stream + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
      offsets.push_back(pdf.size());
      pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
      char line[32];
      std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
      pdf += line;
    }
    return pdf + "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  }

  static std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c == '<')
        out += "&lt;";
      else if (c == '&')
        out += "&amp;";
      else if (c == '"')
        out += "&quot;";
      else
        out += c;
    }
    return out;
  }

 protected:
  static std::string PdfText(const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c == '(' || c == ')' || c == '\\')
        out += '\\';
      out += c;
    }
    return out;
  }
};

}  // namespace marrowleaf::tools
