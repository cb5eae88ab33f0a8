#ifndef SALARY_PLATFORM_QT_PRINT_TESTS_PDF_PAGES_H_
#define SALARY_PLATFORM_QT_PRINT_TESTS_PDF_PAGES_H_

#include <QImage>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace sr::test {

// Page `page` (from 1) of `pdf` rendered by pdftoppm at `dpi` as an 8-bit grey image; null when
// pdftoppm fails.
inline QImage RenderPdfPage(const std::filesystem::path& pdf, int page, int dpi) {
  std::filesystem::path stem = pdf.parent_path() / ("render-" + std::to_string(page));
  std::string command = "pdftoppm -png -gray -r " + std::to_string(dpi) + " -f " +
                        std::to_string(page) + " -l " + std::to_string(page) + " -singlefile '" +
                        pdf.string() + "' '" + stem.string() + "'";
  if (std::system(command.c_str()) != 0) return QImage();
  return QImage(QString::fromStdString(stem.string() + ".png"))
      .convertToFormat(QImage::Format_Grayscale8);
}

// How a fresh render compares with its reference: the pixels the reference inks, those that
// differ by more than a third of the grey range, and those that differ when the fresh page is
// moved `shift` pixels down (a moved line shows there).
struct PageComparison {
  int inked = 0;
  int differing = 0;
  int shifted = 0;
};

inline PageComparison ComparePages(const QImage& fresh, const QImage& reference, int shift) {
  PageComparison result;
  for (int y = 0; y < fresh.height() && y < reference.height(); ++y) {
    const uchar* a = fresh.constScanLine(y);
    const uchar* b = reference.constScanLine(y);
    const uchar* moved = y >= shift ? fresh.constScanLine(y - shift) : nullptr;
    for (int x = 0; x < fresh.width() && x < reference.width(); ++x) {
      result.differing += std::abs(a[x] - b[x]) > 85;
      result.inked += b[x] < 192;
      if (moved != nullptr) result.shifted += std::abs(moved[x] - b[x]) > 85;
    }
  }
  return result;
}

}  // namespace sr::test

#endif  // SALARY_PLATFORM_QT_PRINT_TESTS_PDF_PAGES_H_
