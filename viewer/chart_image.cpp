#include "chart_image.h"

#include <objbase.h>

#include <wincodec.h>

#include <utility>

#include "last_error.h"

namespace viewer {
namespace {

// An owned reference to a COM object.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (object_ != nullptr)
            object_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* operator->() const { return object_; }
    T* get() const { return object_; }
    T** out() { return &object_; }

private:
    T* object_ = nullptr;
};

// COM for the length of one encoding, where the thread has not started it already.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    // Started here or before, in whichever model.
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
    HRESULT result() const { return result_; }

private:
    HRESULT result_;
};

// Pixels into a PNG stream: frame, size, format, rows, commits.
HRESULT Encode(IWICImagingFactory* factory, IStream* stream, const DWORD* bits, int width, int height) {
    ComRef<IWICBitmapEncoder> encoder;
    HRESULT hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out());
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    ComRef<IWICBitmapFrameEncode> frame;
    if (SUCCEEDED(hr))
        hr = encoder->CreateNewFrame(frame.out(), nullptr);
    if (SUCCEEDED(hr))
        hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr))
        hr = frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height));
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    if (SUCCEEDED(hr))
        hr = frame->SetPixelFormat(&format);
    const UINT stride = static_cast<UINT>(width) * 4;
    if (SUCCEEDED(hr) && format == GUID_WICPixelFormat32bppBGR) {
        hr = frame->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                                reinterpret_cast<BYTE*>(const_cast<DWORD*>(bits)));
    } else if (SUCCEEDED(hr)) {
        // The encoder wants another layout: the system converts the pixels to it.
        ComRef<IWICBitmap> source;
        hr = factory->CreateBitmapFromMemory(static_cast<UINT>(width), static_cast<UINT>(height),
                                             GUID_WICPixelFormat32bppBGR, stride, stride * static_cast<UINT>(height),
                                             reinterpret_cast<BYTE*>(const_cast<DWORD*>(bits)), source.out());
        ComRef<IWICFormatConverter> converter;
        if (SUCCEEDED(hr))
            hr = factory->CreateFormatConverter(converter.out());
        if (SUCCEEDED(hr))
            hr = converter->Initialize(source.get(), format, WICBitmapDitherTypeNone, nullptr, 0,
                                       WICBitmapPaletteTypeCustom);
        if (SUCCEEDED(hr))
            hr = frame->WriteSource(converter.get(), nullptr);
    }
    if (SUCCEEDED(hr))
        hr = frame->Commit();
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    return hr;
}

// The error of a call that failed, never 0.
DWORD CallError() {
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
}

}  // namespace

winapp::Bitmap DrawIntoBitmap(int width, int height, const std::function<void(HDC)>& draw, const DWORD*& bits) {
    bits = nullptr;
    const BITMAPINFO info = winapp::TopDownBitmapInfo(width, height);
    void* pixels = nullptr;
    winapp::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    winapp::MemoryDc memory(bitmap ? CreateCompatibleDC(nullptr) : nullptr);
    if (!bitmap || !memory || pixels == nullptr)
        return winapp::Bitmap();
    {
        winapp::Selection selected(memory.get(), bitmap.get());
        draw(memory.get());
        GdiFlush();
    }
    bits = static_cast<const DWORD*>(pixels);
    return bitmap;
}

HRESULT EncodePng(const DWORD* bits, int width, int height, std::string& png) {
    png.clear();
    ComScope com;
    if (!com.usable())
        return com.result();
    ComRef<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory.out()));
    // Into memory first: the file is then written whole, in place of any old one, or not at all.
    ComRef<IStream> stream;
    if (SUCCEEDED(hr))
        hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.out());
    if (SUCCEEDED(hr))
        hr = Encode(factory.get(), stream.get(), bits, width, height);
    HGLOBAL memory = nullptr;
    if (SUCCEEDED(hr))
        hr = GetHGlobalFromStream(stream.get(), &memory);
    STATSTG stat{};
    if (SUCCEEDED(hr))
        hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr))
        return hr;
    const void* bytes = GlobalLock(memory);
    if (bytes == nullptr)
        return HRESULT_FROM_WIN32(GetLastError());
    png.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return S_OK;
}

DWORD PutDibOnClipboard(HWND owner, const DWORD* bits, int width, int height) {
    if (bits == nullptr || width <= 0 || height <= 0)
        return ERROR_INVALID_PARAMETER;
    // A bitmap handle is private to this process: other programs get nothing from it (a DIB
    // section even fails to be converted), while a block of memory is copied to them.
    const SIZE_T rowBytes = static_cast<SIZE_T>(width) * 4;
    const SIZE_T size = sizeof(BITMAPINFOHEADER) + rowBytes * static_cast<SIZE_T>(height);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr)
        return CallError();
    auto* bytes = static_cast<BYTE*>(GlobalLock(block));
    if (bytes == nullptr) {
        const DWORD error = CallError();
        GlobalFree(block);
        return error;
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom up, as every reader expects
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(rowBytes * static_cast<SIZE_T>(height));
    CopyMemory(bytes, &header, sizeof header);
    for (int y = 0; y < height; ++y) {
        CopyMemory(bytes + sizeof header + rowBytes * static_cast<SIZE_T>(height - 1 - y),
                   bits + static_cast<SIZE_T>(y) * static_cast<SIZE_T>(width), rowBytes);
    }
    GlobalUnlock(block);

    if (!OpenClipboard(owner)) {
        const DWORD error = CallError();
        GlobalFree(block);
        return error;
    }
    DWORD error = 0;
    if (!EmptyClipboard()) {
        error = CallError();
    } else if (SetClipboardData(CF_DIB, block) == nullptr) {
        error = CallError();
    } else {
        block = nullptr;  // the clipboard's now
    }
    if (block != nullptr)
        GlobalFree(block);
    if (!CloseClipboard() && error == 0)
        error = CallError();
    return error;
}

std::string ResultText(HRESULT result) {
    std::string text = winapp::ErrorText(static_cast<DWORD>(result));
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(result));
    return text.empty() ? code : text + " (" + code + ")";
}

}  // namespace viewer
