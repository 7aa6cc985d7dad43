// Writing a picture as a PNG file on Windows, with the system's imaging component.
#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

#include <string>

#include "companion/exit_status.h"
#include "view/drawing/write_png.h"

namespace {

// Releases a COM object at the end of its scope.
template <typename Interface>
struct Held {
  Interface* object = nullptr;
  ~Held() {
    if (object != nullptr) object->Release();
  }
  Interface* operator->() const { return object; }
};

CompanionFailure pictureFailure(const OutputFile& file, HRESULT result) {
  return formattedFailure(kFailureStatus,
                          "%s: cannot write the picture: the imaging component said 0x%08lx",
                          file.finalPath.c_str(), static_cast<unsigned long>(result));
}

// Leaves the function that calls it with the result of a step that failed.
#define BOXPAINT_TRY(step)             \
  do {                                 \
    const HRESULT result = (step);     \
    if (FAILED(result)) return result; \
  } while (false)

// Adds the text entries as tEXt chunks where the encoder takes them; the picture is
// written without them where it does not.
void addTexts(IWICBitmapFrameEncode* frame, const std::vector<PngText>& texts) {
  Held<IWICMetadataQueryWriter> writer;
  if (FAILED(frame->GetMetadataQueryWriter(&writer.object))) return;
  for (const PngText& text : texts) {
    const std::string query = "/tEXt/{str=" + text.keyword + "}";
    const std::wstring wideQuery(query.begin(), query.end());
    PROPVARIANT value;
    PropVariantInit(&value);
    value.vt = VT_LPSTR;
    value.pszVal = const_cast<char*>(text.text.c_str());
    writer->SetMetadataByName(wideQuery.c_str(), &value);
  }
}

// Encodes `image` in memory and writes the bytes to `file`; the first step that failed.
HRESULT encode(OutputFile& file, const RgbImage& image, const std::vector<PngText>& texts) {
  Held<IWICImagingFactory> factory;
  BOXPAINT_TRY(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory.object)));
  // The encoder writes into memory; the bytes then go to the output file as any other.
  Held<IStream> stream;
  BOXPAINT_TRY(CreateStreamOnHGlobal(nullptr, TRUE, &stream.object));
  Held<IWICBitmapEncoder> encoder;
  BOXPAINT_TRY(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder.object));
  BOXPAINT_TRY(encoder->Initialize(stream.object, WICBitmapEncoderNoCache));
  Held<IWICBitmapFrameEncode> frame;
  Held<IPropertyBag2> options;
  BOXPAINT_TRY(encoder->CreateNewFrame(&frame.object, &options.object));
  BOXPAINT_TRY(frame->Initialize(options.object));
  BOXPAINT_TRY(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height)));
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  BOXPAINT_TRY(frame->SetPixelFormat(&format));
  if (format != GUID_WICPixelFormat24bppBGR) return E_UNEXPECTED;
  addTexts(frame.object, texts);
  // The imaging component takes blue, green, red, each row padded to four bytes.
  const UINT stride = (static_cast<UINT>(image.width) * 3 + 3) & ~3u;
  std::string row(stride, '\0');
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* from = image.pixels.data() + 3 * static_cast<size_t>(image.width) * y;
    for (int x = 0; x < image.width; ++x) {
      row[3 * x] = static_cast<char>(from[3 * x + 2]);
      row[3 * x + 1] = static_cast<char>(from[3 * x + 1]);
      row[3 * x + 2] = static_cast<char>(from[3 * x]);
    }
    BOXPAINT_TRY(frame->WritePixels(1, stride, stride, reinterpret_cast<BYTE*>(row.data())));
  }
  BOXPAINT_TRY(frame->Commit());
  BOXPAINT_TRY(encoder->Commit());
  HGLOBAL memory = nullptr;
  BOXPAINT_TRY(GetHGlobalFromStream(stream.object, &memory));
  STATSTG facts{};
  BOXPAINT_TRY(stream->Stat(&facts, STATFLAG_NONAME));
  const void* bytes = GlobalLock(memory);
  if (bytes == nullptr) return E_OUTOFMEMORY;
  writeOutput(file, bytes, static_cast<size_t>(facts.cbSize.QuadPart));
  GlobalUnlock(memory);
  return S_OK;
}

}  // namespace

CompanionFailure writePng(OutputFile& file, const RgbImage& image,
                          const std::vector<PngText>& texts) {
  const HRESULT started = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (FAILED(started) && started != RPC_E_CHANGED_MODE) return pictureFailure(file, started);
  const HRESULT result = encode(file, image, texts);
  if (SUCCEEDED(started)) CoUninitialize();
  if (FAILED(result)) return pictureFailure(file, result);
  return {};
}
