#include <limits>
#include <memory>
#include <string>

#include <turbojpeg.h>

#include "engine/formats/image_codecs.h"

namespace engine {
namespace {

struct JpegHandleFree {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using JpegHandle = std::unique_ptr<void, JpegHandleFree>;

struct JpegHeader {
    int width = 0;
    int height = 0;
    int colorspace = 0;
};

JpegHandle openJpeg(std::string_view bytes, JpegHeader& header, std::string& fault);

}  // namespace

Parsed<ImageSize> readJpegSize(std::string_view bytes) {
    JpegHeader header;
    std::string fault;
    if (!openJpeg(bytes, header, fault)) {
        return Parsed<ImageSize>::failure(fault);
    }
    return Parsed<ImageSize>::success({header.width, header.height});
}

Parsed<ImageData> decodeJpeg(std::string_view bytes) {
    JpegHeader header;
    std::string fault;
    JpegHandle handle = openJpeg(bytes, header, fault);
    if (!handle) {
        return Parsed<ImageData>::failure(fault);
    }
    // libjpeg-turbo cannot turn ink into light; such files are rare in textures.
    if (header.colorspace == TJCS_CMYK || header.colorspace == TJCS_YCCK) {
        return Parsed<ImageData>::failure("CMYK JPEGs are not supported; save it as RGB");
    }
    ImageData image;
    image.width = header.width;
    image.height = header.height;
    image.rgba.resize(static_cast<std::size_t>(header.width) * header.height * kImageChannels);
    // A warning (a file cut short, a corrupt stream) fails too: half a texture is no texture.
    // Scans are limited, as a progressive file of thousands of scans takes minutes to decode.
    const int flags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;
    if (tjDecompress2(handle.get(), reinterpret_cast<const unsigned char*>(bytes.data()),
                      static_cast<unsigned long>(bytes.size()), image.rgba.data(), header.width, 0,
                      header.height, TJPF_RGBA, flags) != 0) {
        return Parsed<ImageData>::failure(tjGetErrorStr2(handle.get()));
    }
    return Parsed<ImageData>::success(std::move(image));
}

namespace {

JpegHandle openJpeg(std::string_view bytes, JpegHeader& header, std::string& fault) {
    if (bytes.size() > std::numeric_limits<unsigned long>::max()) {
        fault = "the file is too large";
        return nullptr;
    }
    JpegHandle handle(tjInitDecompress());
    if (!handle) {
        fault = tjGetErrorStr2(nullptr);
        return nullptr;
    }
    int subsampling = 0;
    if (tjDecompressHeader3(handle.get(), reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<unsigned long>(bytes.size()), &header.width, &header.height,
                            &subsampling, &header.colorspace) != 0) {
        fault = tjGetErrorStr2(handle.get());
        return nullptr;
    }
    return handle;
}

}  // namespace
}  // namespace engine
