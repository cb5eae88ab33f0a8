// The toolbar's 28 pictures, drawn with GDI: the thirteen the toolbar shows are pictures of
// their commands, the others a plain square.
#include "platform/win32/ui/toolbar_peer.h"
// commctrl.h needs windows.h before it.
#include <commctrl.h>

namespace sr::win32 {
namespace {

constexpr COLORREF kMask = RGB(255, 0, 255);
constexpr int kImages = 28;

struct Pen {
  Pen(HDC dc, COLORREF color, int width = 1)
      : dc_(dc), pen_(CreatePen(PS_SOLID, width, color)), old_(SelectObject(dc, pen_)) {}
  ~Pen() {
    SelectObject(dc_, old_);
    DeleteObject(pen_);
  }
  HDC dc_;
  HPEN pen_;
  HGDIOBJ old_;
};

void Box(HDC dc, int l, int t, int r, int b, COLORREF fill, COLORREF line) {
  HBRUSH brush = CreateSolidBrush(fill);
  HGDIOBJ old = SelectObject(dc, brush);
  Pen pen(dc, line);
  Rectangle(dc, l, t, r, b);
  SelectObject(dc, old);
  DeleteObject(brush);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int width = 1) {
  Pen pen(dc, color, width);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void Draw(HDC dc, int image) {
  const COLORREF ink = RGB(0, 0, 0), white = RGB(255, 255, 255);
  switch (image) {
    case 14:  // a new page
      Box(dc, 3, 1, 13, 15, white, ink);
      Line(dc, 5, 5, 11, 5, RGB(128, 128, 128));
      Line(dc, 5, 8, 11, 8, RGB(128, 128, 128));
      break;
    case 1:  // an open folder
      Box(dc, 1, 4, 15, 14, RGB(255, 214, 90), RGB(150, 110, 0));
      Box(dc, 1, 2, 7, 5, RGB(255, 214, 90), RGB(150, 110, 0));
      break;
    case 11:  // a disk
      Box(dc, 2, 2, 14, 14, RGB(40, 70, 160), ink);
      Box(dc, 4, 3, 12, 8, white, ink);
      Box(dc, 5, 10, 11, 14, RGB(200, 200, 200), ink);
      break;
    case 4:  // a pencil
      Line(dc, 3, 13, 12, 4, RGB(220, 150, 0), 3);
      Line(dc, 2, 14, 3, 13, ink, 2);
      break;
    case 2:  // a magnifier
      Box(dc, 2, 2, 10, 10, RGB(200, 230, 255), ink);
      Line(dc, 9, 9, 14, 14, ink, 3);
      break;
    case 13:  // a cross
      Line(dc, 3, 3, 13, 13, RGB(200, 0, 0), 3);
      Line(dc, 13, 3, 3, 13, RGB(200, 0, 0), 3);
      break;
    case 21:  // a plus
      Line(dc, 8, 2, 8, 14, RGB(0, 140, 0), 3);
      Line(dc, 2, 8, 14, 8, RGB(0, 140, 0), 3);
      break;
    case 5:  // a calculator
      Box(dc, 3, 1, 13, 15, RGB(220, 220, 220), ink);
      Box(dc, 5, 3, 11, 6, RGB(160, 220, 160), ink);
      for (int y = 8; y <= 12; y += 3)
        for (int x = 5; x <= 10; x += 3) Box(dc, x, y, x + 2, y + 2, ink, ink);
      break;
    case 6:  // a sum
      Line(dc, 12, 3, 4, 3, ink, 2);
      Line(dc, 4, 3, 9, 8, ink, 2);
      Line(dc, 9, 8, 4, 13, ink, 2);
      Line(dc, 4, 13, 12, 13, ink, 2);
      break;
    case 26:  // a rate
      Box(dc, 2, 2, 6, 6, white, ink);
      Box(dc, 10, 10, 14, 14, white, ink);
      Line(dc, 13, 2, 3, 14, ink, 2);
      break;
    case 8:  // a list of headings
      Box(dc, 2, 2, 14, 14, white, ink);
      Line(dc, 2, 6, 14, 6, ink);
      Line(dc, 6, 2, 6, 14, ink);
      break;
    case 3:  // out to a sheet
      Box(dc, 1, 3, 10, 14, RGB(200, 240, 200), RGB(0, 100, 0));
      Line(dc, 7, 8, 15, 8, RGB(0, 100, 0), 2);
      Line(dc, 12, 5, 15, 8, RGB(0, 100, 0), 2);
      Line(dc, 12, 11, 15, 8, RGB(0, 100, 0), 2);
      break;
    case 10:  // a door
      Box(dc, 4, 1, 12, 15, RGB(160, 100, 50), ink);
      Box(dc, 9, 8, 11, 10, RGB(255, 220, 0), ink);
      break;
    default:
      Box(dc, 4, 4, 12, 12, RGB(192, 192, 192), RGB(128, 128, 128));
  }
}

}  // namespace

HIMAGELIST ToolbarImages() {
  static HIMAGELIST list = [] {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, kImages, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    for (int image = 0; image < kImages; ++image) {
      HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
      HGDIOBJ old = SelectObject(dc, bitmap);
      RECT all{0, 0, 16, 16};
      HBRUSH mask = CreateSolidBrush(kMask);
      FillRect(dc, &all, mask);
      DeleteObject(mask);
      Draw(dc, image);
      SelectObject(dc, old);
      ImageList_AddMasked(images, bitmap, kMask);
      DeleteObject(bitmap);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return images;
  }();
  return list;
}

}  // namespace sr::win32
