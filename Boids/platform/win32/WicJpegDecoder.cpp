#include "../../JpegDecoder.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <wincodec.h>
#include <windows.h>

#include <new>

namespace tavren {

namespace {

// One reference to a COM object, released when dropped.
template <class Interface> class ComReference {
public:
    ComReference() = default;
    ComReference(const ComReference&) = delete;
    ComReference& operator=(const ComReference&) = delete;
    ~ComReference() {
        if (Object != nullptr) {
            Object->Release();
        }
    }

    Interface** Receive() { return &Object; }
    Interface* Get() const { return Object; }
    Interface* operator->() const { return Object; }

private:
    Interface* Object = nullptr;
};

// COM for the calling thread while the decoder runs. A thread that has COM already, in either
// model, keeps it as it is.
class ComApartment {
public:
    ComApartment() : Result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(Result)) {
            CoUninitialize();
        }
    }

private:
    HRESULT Result;
};

bool FitsTheRenderer(UINT width, UINT height) {
    return width >= 1 && height >= 1 && width <= 65535 && height <= 65535 &&
           uint64_t{width} * height <= LargestJpegPixelCount;
}

std::optional<JpegScanLines> Decode(IWICImagingFactory& factory, std::span<const uint8_t> file) {
    ComReference<IWICStream> stream;
    ComReference<IWICBitmapDecoder> decoder;
    ComReference<IWICBitmapFrameDecode> frame;
    ComReference<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    // The stream only reads the bytes, whatever its signature says.
    BYTE* const bytes = const_cast<BYTE*>(file.data());
    if (FAILED(factory.CreateStream(stream.Receive())) ||
        FAILED(stream->InitializeFromMemory(bytes, static_cast<DWORD>(file.size()))) ||
        FAILED(factory.CreateDecoder(GUID_ContainerFormatJpeg, nullptr, decoder.Receive())) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, frame.Receive())) || FAILED(frame->GetSize(&width, &height)) ||
        !FitsTheRenderer(width, height) ||
        FAILED(factory.CreateFormatConverter(converter.Receive())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return std::nullopt;
    }
    JpegScanLines lines;
    lines.Width = static_cast<uint16_t>(width);
    lines.Height = static_cast<uint16_t>(height);
    lines.Bgrx.resize(size_t{width} * height * 4);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(lines.Bgrx.size()),
                                     lines.Bgrx.data()))) {
        return std::nullopt;
    }
    return lines;
}

} // namespace

std::optional<JpegScanLines> DecodeJpegScanLines(std::span<const uint8_t> file) {
    if (file.empty() || file.size() > MAXDWORD) {
        return std::nullopt;
    }
    try {
        const ComApartment apartment;
        ComReference<IWICImagingFactory> factory;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.Receive())))) {
            return std::nullopt;
        }
        return Decode(*factory.Get(), file);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace tavren
