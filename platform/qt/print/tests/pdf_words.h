#ifndef SALARY_PLATFORM_QT_PRINT_TESTS_PDF_WORDS_H_
#define SALARY_PLATFORM_QT_PRINT_TESTS_PDF_WORDS_H_

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace sr::test {

// A word of a printed PDF page as pdftotext -bbox reads it back, in millimetres from the page's
// top-left corner.
struct PdfWord {
  std::string text;  // UTF-8
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
  int page = 0;  // from 1
};

// Every word of the PDF, in reading order; empty when pdftotext cannot read it.
inline std::vector<PdfWord> PdfWordsOf(const std::filesystem::path& pdf) {
  std::filesystem::path html = pdf;
  html.replace_extension(".html");
  std::string command = "pdftotext -bbox '" + pdf.string() + "' '" + html.string() + "'";
  std::vector<PdfWord> words;
  if (std::system(command.c_str()) != 0) return words;
  std::ifstream in(html);
  std::string line;
  constexpr double kMmPerPoint = 25.4 / 72;
  int page = 0;
  while (std::getline(in, line)) {
    if (line.find("<page ") != std::string::npos) ++page;
    double x0, y0, x1, y1;
    size_t at = line.find("<word ");
    if (at == std::string::npos) continue;
    if (std::sscanf(line.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"",
                    &x0, &y0, &x1, &y1) != 4) {
      continue;
    }
    size_t open = line.find('>', at) + 1;
    words.push_back({line.substr(open, line.find("</word>") - open), x0 * kMmPerPoint,
                     y0 * kMmPerPoint, (x1 - x0) * kMmPerPoint, (y1 - y0) * kMmPerPoint, page});
  }
  return words;
}

}  // namespace sr::test

#endif  // SALARY_PLATFORM_QT_PRINT_TESTS_PDF_WORDS_H_
