#pragma once
// Drawing: colour values, fonts, a canvas over a device context, and
// off-screen bitmaps with their own canvas.
#include "runtime/Win.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rt {

// 0x00BBGGRR is an RGB colour; 0xFF0000nn names system colour nn.
using TColor = uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clBtnShadow = 0xFF000010;
constexpr TColor clBtnHighlight = 0xFF000014;
constexpr TColor clMenuText = 0xFF000007;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clNone = 0x1FFFFFFF;

// A system colour becomes the RGB value the system uses now.
COLORREF ColorToRGB(TColor c);

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4 };

struct Font {
    std::string Name = "MS Sans Serif";
    int Height = -11;  // negative: character height in pixels
    unsigned Style = 0;
    TColor Color = clWindowText;
    BYTE Charset = DEFAULT_CHARSET;

    bool operator==(const Font&) const = default;
    // A shared GDI font for this description; lives until the program ends.
    HFONT Handle() const;
};

// Whether the system has a font of this face name.
bool FontFaceInstalled(const char* face);

// The menu font of the system (non-client metrics).
HFONT SystemMenuFont();

class Bitmap;

// Draws on a device context it does not own. Everything it selects is put
// back when it goes away.
class Canvas {
public:
    explicit Canvas(HDC dc);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Handle() const { return dc_; }

    void SetFont(const Font& f);
    void SetFontHandle(HFONT f, TColor color);
    const Font& GetFont() const { return font_; }
    void SetTextColor(TColor c);
    void SetBrushColor(TColor c);  // solid brush
    void SetBrushClear();          // no text background, hollow fills
    void SetPenColor(TColor c);

    void FillRect(const RECT& r, TColor c);
    void FrameRect(const RECT& r, TColor c);
    void Polyline(const std::vector<POINT>& pts);
    void Polygon(const std::vector<POINT>& pts);
    void LineTo(int x0, int y0, int x1, int y1);
    void TextOut(int x, int y, const std::string& s);
    SIZE TextExtent(const std::string& s);
    int TextWidth(const std::string& s) { return TextExtent(s).cx; }
    int TextHeight(const std::string& s) { return TextExtent(s).cy; }
    int DrawText(const std::string& s, RECT& r, UINT flags);
    void DrawFocusRect(const RECT& r);
    void Draw(int x, int y, const Bitmap& b);
    void DrawTransparent(int x, int y, const Bitmap& b, TColor key);
    void StretchDraw(const RECT& dest, const Bitmap& b);
    void CopyRect(const RECT& dest, HDC src, const RECT& srcRect);
    TColor Pixel(int x, int y) const;

private:
    void SelectFont(HFONT f);
    HDC dc_;
    HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
    GdiObject<HBRUSH> brush_;
    GdiObject<HPEN> pen_;
    Font font_;
    TColor textColor_ = clBlack;
    bool brushClear_ = false;
};

// A 32-bit top-down DIB section with its own memory DC. Empty when 0 x 0.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height);
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    void SetSize(int width, int height);  // contents become white
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    HDC DC() const { return dc_; }
    HBITMAP Handle() const { return bmp_.Get(); }
    Canvas& GetCanvas();

    void Assign(const Bitmap& other);                       // copy pixels and size
    void CopyFrom(const Bitmap& src, const RECT& srcRect);  // becomes that piece
    void StretchFrom(const Bitmap& src, const RECT& srcRect, int width, int height);
    bool LoadFromResourceName(const std::string& name);     // a BITMAP resource
    bool LoadJpegResource(const std::string& name);         // an RCDATA JPEG, via WIC
    bool LoadFromHBitmap(HBITMAP h);
    TColor Pixel(int x, int y) const;                       // 0x00BBGGRR
    void SetPixel(int x, int y, TColor c);
    TColor TopLeftColor() const { return Empty() ? clNone : Pixel(0, 0); }
    TColor BottomLeftColor() const { return Empty() ? clNone : Pixel(0, height_ - 1); }

private:
    void Release();
    int width_ = 0, height_ = 0;
    HDC dc_ = nullptr;
    GdiObject<HBITMAP> bmp_;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
    std::unique_ptr<Canvas> canvas_;
};

// A double buffer: paint everything into Buffer(), then Present() once.
class OffscreenBuffer {
public:
    OffscreenBuffer(HDC target, int width, int height);
    Bitmap& Buffer() { return bitmap_; }
    Canvas& GetCanvas() { return bitmap_.GetCanvas(); }
    void Present();

private:
    HDC target_;
    Bitmap bitmap_;
};

}  // namespace rt
