#include "runtime/Graphics.h"

#include <wincodec.h>

#include "runtime/SystemLibraries.h"

#include <cstring>
#include <map>
#include <tuple>

namespace rt {

COLORREF ColorToRGB(TColor c) {
    if ((c & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(c & 0xFF));
    return static_cast<COLORREF>(c & 0x00FFFFFFu);
}

bool FontFaceInstalled(const char* face) {
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    WindowDC dc(nullptr);
    EnumFontFamiliesExA(
        dc.Get(), &lf,
        [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

namespace {

// The forms are laid out in "MS Sans Serif" 8 pt, which every Windows has.
// A Wine prefix may lack it (Wine does not always load the fonts of its
// own data folder) and then hands out a wider substitute. Wine names that
// folder to its processes in WINEDATADIR; its copy of the font is taken
// from there for this process alone. It must happen before the first font
// is made: a font already made keeps the face it was given.
void ProvideDesignedFont() {
    if (FontFaceInstalled("MS Sans Serif")) return;
    char dir[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("WINEDATADIR", dir, sizeof dir);
    if (n == 0 || n >= sizeof dir) return;
    std::string path = dir;
    if (path.rfind("\\??\\", 0) == 0) path.erase(0, 4);
    AddFontResourceExA((path + "\\fonts\\sserife.fon").c_str(), FR_PRIVATE, nullptr);
}

}  // namespace

HFONT Font::Handle() const {
    static const bool provided = (ProvideDesignedFont(), true);
    (void)provided;
    // Fonts are few (a handful of descriptions); keep each for the run.
    using Key = std::tuple<std::string, int, unsigned, BYTE>;
    static std::map<Key, HFONT> cache;
    const Key key{Name, Height, Style, Charset};
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    LOGFONTA lf{};
    lf.lfHeight = Height;
    lf.lfWeight = (Style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (Style & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (Style & fsUnderline) ? TRUE : FALSE;
    lf.lfCharSet = Charset;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, Name.c_str(), LF_FACESIZE);
    HFONT f = CreateFontIndirectA(&lf);
    cache[key] = f;
    return f;
}

HFONT SystemMenuFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSA m{};
        m.cbSize = sizeof m;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
        return CreateFontIndirectA(&m.lfMenuFont);
    }();
    return font;
}

Canvas::Canvas(HDC dc) : dc_(dc) {
    oldFont_ = GetCurrentObject(dc_, OBJ_FONT);
    oldBrush_ = GetCurrentObject(dc_, OBJ_BRUSH);
    oldPen_ = GetCurrentObject(dc_, OBJ_PEN);
    SelectFont(font_.Handle());
    ::SetTextColor(dc_, ColorToRGB(font_.Color));
    SetBkMode(dc_, TRANSPARENT);
}

Canvas::~Canvas() {
    SelectObject(dc_, oldFont_);
    SelectObject(dc_, oldBrush_);
    SelectObject(dc_, oldPen_);
}

void Canvas::SelectFont(HFONT f) { SelectObject(dc_, f); }

void Canvas::SetFont(const Font& f) {
    font_ = f;
    SelectFont(f.Handle());
    SetTextColor(f.Color);
}

void Canvas::SetFontHandle(HFONT f, TColor color) {
    SelectFont(f);
    SetTextColor(color);
}

void Canvas::SetTextColor(TColor c) {
    textColor_ = c;
    ::SetTextColor(dc_, ColorToRGB(c));
}

void Canvas::SetBrushColor(TColor c) {
    brushClear_ = false;
    HBRUSH b = CreateSolidBrush(ColorToRGB(c));
    SelectObject(dc_, b);
    brush_.Reset(b);
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ColorToRGB(c));
}

void Canvas::SetBrushClear() {
    brushClear_ = true;
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
    brush_.Reset();
    SetBkMode(dc_, TRANSPARENT);
}

void Canvas::SetPenColor(TColor c) {
    HPEN p = CreatePen(PS_SOLID, 1, ColorToRGB(c));
    SelectObject(dc_, p);
    pen_.Reset(p);
}

void Canvas::FillRect(const RECT& r, TColor c) {
    GdiObject<HBRUSH> b(CreateSolidBrush(ColorToRGB(c)));
    ::FillRect(dc_, &r, b.Get());
}

void Canvas::FrameRect(const RECT& r, TColor c) {
    GdiObject<HBRUSH> b(CreateSolidBrush(ColorToRGB(c)));
    ::FrameRect(dc_, &r, b.Get());
}

void Canvas::Polyline(const std::vector<POINT>& pts) {
    if (!pts.empty()) ::Polyline(dc_, pts.data(), static_cast<int>(pts.size()));
}

void Canvas::Polygon(const std::vector<POINT>& pts) {
    if (!pts.empty()) ::Polygon(dc_, pts.data(), static_cast<int>(pts.size()));
}

void Canvas::LineTo(int x0, int y0, int x1, int y1) {
    MoveToEx(dc_, x0, y0, nullptr);
    ::LineTo(dc_, x1, y1);
}

// Text goes through the ...W calls: the ...A ones read the bytes in the
// code page of the selected font's character set, which for the forms'
// raster font is a Western one, not the program's UTF-8.
void Canvas::TextOut(int x, int y, const std::string& s) {
    const std::wstring w = Wide(s, CP_ACP);
    ::TextOutW(dc_, x, y, w.c_str(), static_cast<int>(w.size()));
}

SIZE Canvas::TextExtent(const std::string& s) {
    SIZE sz{0, 0};
    const std::wstring w = Wide(s, CP_ACP);
    GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &sz);
    if (s.empty()) {
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        sz.cy = tm.tmHeight;
    }
    return sz;
}

int Canvas::DrawText(const std::string& s, RECT& r, UINT flags) {
    std::wstring w = Wide(s, CP_ACP);
    return ::DrawTextW(dc_, w.data(), static_cast<int>(w.size()), &r, flags);
}

void Canvas::DrawFocusRect(const RECT& r) {
    // The focus rectangle is drawn by XOR in the text colours of the DC.
    const COLORREF oldText = ::SetTextColor(dc_, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(dc_, RGB(255, 255, 255));
    ::DrawFocusRect(dc_, &r);
    ::SetTextColor(dc_, oldText);
    SetBkColor(dc_, oldBk);
}

void Canvas::Draw(int x, int y, const Bitmap& b) {
    if (!b.Empty()) BitBlt(dc_, x, y, b.Width(), b.Height(), b.DC(), 0, 0, SRCCOPY);
}

void Canvas::DrawTransparent(int x, int y, const Bitmap& b, TColor key) {
    if (b.Empty()) return;
    TransparentBlit(dc_, x, y, b.Width(), b.Height(), b.DC(), 0, 0, b.Width(), b.Height(),
                   ColorToRGB(key));
}

void Canvas::StretchDraw(const RECT& dest, const Bitmap& b) {
    if (b.Empty()) return;
    const int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, b.DC(), 0, 0,
               b.Width(), b.Height(), SRCCOPY);
    SetStretchBltMode(dc_, oldMode);
}

void Canvas::CopyRect(const RECT& dest, HDC src, const RECT& s) {
    const int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src, s.left, s.top,
               s.right - s.left, s.bottom - s.top, SRCCOPY);
    SetStretchBltMode(dc_, oldMode);
}

TColor Canvas::Pixel(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }

Bitmap::Bitmap(int width, int height) { SetSize(width, height); }

Bitmap::~Bitmap() { Release(); }

void Bitmap::Release() {
    canvas_.reset();
    if (dc_) {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        dc_ = nullptr;
    }
    bmp_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}

void Bitmap::SetSize(int width, int height) {
    Release();
    if (width <= 0 || height <= 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!h) RaiseLastError("Out of system resources: ");
    bmp_.Reset(h);
    bits_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    std::memset(bits_, 0xFF, static_cast<size_t>(width) * height * 4);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, h);
}

Canvas& Bitmap::GetCanvas() {
    if (!canvas_) {
        if (!dc_) SetSize(1, 1);
        canvas_ = std::make_unique<Canvas>(dc_);
    }
    return *canvas_;
}

void Bitmap::Assign(const Bitmap& other) {
    if (&other == this) return;
    SetSize(other.width_, other.height_);
    if (!Empty()) std::memcpy(bits_, other.bits_, static_cast<size_t>(width_) * height_ * 4);
}

void Bitmap::CopyFrom(const Bitmap& src, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    Bitmap tmp(w, h);
    if (!tmp.Empty()) BitBlt(tmp.DC(), 0, 0, w, h, src.DC(), r.left, r.top, SRCCOPY);
    Assign(tmp);
}

void Bitmap::StretchFrom(const Bitmap& src, const RECT& r, int width, int height) {
    Bitmap tmp(width, height);
    if (!tmp.Empty()) {
        SetStretchBltMode(tmp.DC(), COLORONCOLOR);
        StretchBlt(tmp.DC(), 0, 0, width, height, src.DC(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SRCCOPY);
    }
    Assign(tmp);
}

bool Bitmap::LoadFromHBitmap(HBITMAP h) {
    BITMAP info{};
    if (!h || !GetObjectA(h, sizeof info, &info)) return false;
    SetSize(info.bmWidth, info.bmHeight);
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, h);
    BitBlt(dc_, 0, 0, width_, height_, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
    return true;
}

bool Bitmap::LoadFromResourceName(const std::string& name) {
    if (name.empty()) return false;
    HBITMAP h = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!h) return false;
    const bool ok = LoadFromHBitmap(h);
    DeleteObject(h);
    return ok;
}

namespace {
template <typename T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() { return p; }
};

// WICConvertBitmapSource of the system's WindowsCodecs.
HRESULT ConvertBitmap(REFWICPixelFormatGUID format, IWICBitmapSource* from, IWICBitmapSource** to) {
    using Convert = HRESULT(WINAPI*)(REFWICPixelFormatGUID, IWICBitmapSource*, IWICBitmapSource**);
    static const auto convert = SystemLibraryFunction<Convert>(L"windowscodecs.dll", "WICConvertBitmapSource");
    return convert ? convert(format, from, to) : E_NOTIMPL;
}

}  // namespace

bool Bitmap::LoadJpegResource(const std::string& name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!res) return false;
    HGLOBAL data = LoadResource(module, res);
    const DWORD size = SizeofResource(module, res);
    auto* bytes = static_cast<BYTE*>(LockResource(data));
    if (!bytes || !size) return false;

    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IWICBitmapSource> converted;
        UINT w = 0, h = 0;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
            SUCCEEDED(factory->CreateStream(&stream)) && SUCCEEDED(stream->InitializeFromMemory(bytes, size)) &&
            SUCCEEDED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                                       &decoder)) &&
            SUCCEEDED(decoder->GetFrame(0, &frame)) &&
            SUCCEEDED(ConvertBitmap(GUID_WICPixelFormat32bppBGR, frame.p, &converted)) &&
            SUCCEEDED(converted->GetSize(&w, &h)) && w > 0 && h > 0) {
            SetSize(static_cast<int>(w), static_cast<int>(h));
            ok = SUCCEEDED(converted->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(bits_)));
        }
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return ok;
}

TColor Bitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
    GdiFlush();
    const uint32_t v = bits_[static_cast<size_t>(y) * width_ + x];  // 0x00RRGGBB in memory order BGRA
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

void Bitmap::SetPixel(int x, int y, TColor c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    GdiFlush();
    const COLORREF rgb = ColorToRGB(c);
    bits_[static_cast<size_t>(y) * width_ + x] = (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}

OffscreenBuffer::OffscreenBuffer(HDC target, int width, int height)
    : target_(target), bitmap_(width > 0 ? width : 1, height > 0 ? height : 1) {}

void OffscreenBuffer::Present() {
    BitBlt(target_, 0, 0, bitmap_.Width(), bitmap_.Height(), bitmap_.DC(), 0, 0, SRCCOPY);
}

}  // namespace rt
