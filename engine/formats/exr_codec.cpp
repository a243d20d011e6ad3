// OpenEXR files through the OpenEXR library, read from memory. The size comes from the first
// header, read here by hand, so that it is checked before the library allocates anything; the
// library's exceptions end at this file's boundary as failures.
#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfInputFile.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <exception>
#include <new>
#include <stdexcept>
#include <string>

#include "engine/formats/image_codecs.h"

namespace engine {
namespace {

// After the magic number: the version (2) in the low byte, then flags.
constexpr std::size_t kVersionAt = 4;
constexpr std::size_t kHeaderAt = 8;
constexpr std::uint32_t kDeepFlag = 0x800;
// Attribute names and type names are at most 255 characters (31 without the long-names flag).
constexpr std::size_t kLongestName = 255;

std::int32_t littleEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t index = 0; index < 4; ++index) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + index]))
                 << (8 * index);
    }
    return static_cast<std::int32_t>(value);
}

// A name ending in a zero byte, at most kLongestName characters; false when there is none.
bool readName(std::string_view bytes, std::size_t& at, std::string_view& name) {
    const std::string_view rest = bytes.substr(std::min(at, bytes.size()), kLongestName + 1);
    const std::size_t end = rest.find('\0');
    if (end == std::string_view::npos) {
        return false;
    }
    name = rest.substr(0, end);
    at += end + 1;
    return true;
}

int clampedToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// The OpenEXR library reads the file through this; it throws, as its own streams do, when a
// read goes past the end.
class MemoryStream final : public Imf::IStream {
  public:
    explicit MemoryStream(std::string_view bytes) : Imf::IStream("the file"), bytes_(bytes) {}

    bool read(char destination[], int count) override {
        if (count < 0 || position_ > bytes_.size() ||
            static_cast<std::uint64_t>(count) > bytes_.size() - position_) {
            throw std::runtime_error("the file ends before the data its header promises");
        }
        std::memcpy(destination, bytes_.data() + position_, static_cast<std::size_t>(count));
        position_ += static_cast<std::uint64_t>(count);
        return position_ < bytes_.size();
    }
    std::uint64_t tellg() override { return position_; }
    void seekg(std::uint64_t position) override { position_ = position; }

  private:
    std::string_view bytes_;
    std::uint64_t position_ = 0;
};

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text.empty() ? std::string("the OpenEXR library gave no reason") : text;
}

Parsed<HdrImage> readPixels(Imf::InputFile& file);

}  // namespace

Parsed<ImageSize> readExrSize(std::string_view bytes) {
    if (bytes.size() < kHeaderAt) {
        return Parsed<ImageSize>::failure("the file ends inside its header");
    }
    const auto version = static_cast<std::uint32_t>(littleEndian32(bytes, kVersionAt));
    if ((version & 0xff) != 2) {
        return Parsed<ImageSize>::failure("version " + std::to_string(version & 0xff) +
                                          " of the format is not read (only 2)");
    }
    if ((version & kDeepFlag) != 0) {
        return Parsed<ImageSize>::failure("deep images are not read");
    }
    // The first part's header: attributes (name, type name, size, value) up to an empty name.
    std::size_t at = kHeaderAt;
    std::string_view name;
    std::string_view type;
    bool ended = false;
    while (readName(bytes, at, name)) {
        if (name.empty()) {
            ended = true;
            break;
        }
        if (!readName(bytes, at, type) || bytes.size() - std::min(at, bytes.size()) < 4) {
            break;
        }
        const std::int32_t size = littleEndian32(bytes, at);
        at += 4;
        if (size < 0 || static_cast<std::size_t>(size) > bytes.size() - at) {
            break;
        }
        if (name == "dataWindow" && type == "box2i" && size == 16) {
            const std::int64_t width =
                std::int64_t{littleEndian32(bytes, at + 8)} - littleEndian32(bytes, at) + 1;
            const std::int64_t height =
                std::int64_t{littleEndian32(bytes, at + 12)} - littleEndian32(bytes, at + 4) + 1;
            return Parsed<ImageSize>::success({clampedToInt(width), clampedToInt(height)});
        }
        at += static_cast<std::size_t>(size);
    }
    return Parsed<ImageSize>::failure(ended ? "its header has no data window"
                                            : "the file ends inside its header");
}

// The caller has checked the hand-read size against the limits; the library's reading of it is
// checked again before any pixel memory is allocated.
Parsed<HdrImage> decodeExr(std::string_view bytes) {
    try {
        MemoryStream stream(bytes);
        // No threads of the library's own: each loading thread decodes one image.
        Imf::InputFile file(stream, 0);
        return readPixels(file);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& fault) {
        return Parsed<HdrImage>::failure(oneLine(fault.what()));
    } catch (...) {
        return Parsed<HdrImage>::failure("the OpenEXR library failed without a reason");
    }
}

namespace {

bool fullResolution(const Imf::Channel* channel) {
    return channel == nullptr || (channel->xSampling == 1 && channel->ySampling == 1);
}

Parsed<HdrImage> readPixels(Imf::InputFile& file) {
    const Imath::Box2i window = file.header().dataWindow();
    const std::int64_t width = std::int64_t{window.max.x} - window.min.x + 1;
    const std::int64_t height = std::int64_t{window.max.y} - window.min.y + 1;
    Parsed<ImageSize> size = checkedImageSize(
        "OpenEXR image", Parsed<ImageSize>::success({clampedToInt(width), clampedToInt(height)}));
    if (!size.ok()) {
        return Parsed<HdrImage>::failure(size.error());
    }
    const Imf::ChannelList& channels = file.header().channels();
    if (channels.findChannel("RY") != nullptr || channels.findChannel("BY") != nullptr) {
        return Parsed<HdrImage>::failure("luminance-chroma images (RY, BY) are not read");
    }
    const char* const rgbNames[] = {"R", "G", "B"};
    bool hasRgb = false;
    for (const char* channelName : rgbNames) {
        const Imf::Channel* channel = channels.findChannel(channelName);
        hasRgb = hasRgb || channel != nullptr;
        if (!fullResolution(channel)) {
            return Parsed<HdrImage>::failure("subsampled channels are not read");
        }
    }
    const Imf::Channel* luminance = channels.findChannel("Y");
    if (!hasRgb && luminance == nullptr) {
        return Parsed<HdrImage>::failure(
            "it has no R, G, B or Y channel (channels in layers, such as diffuse.R, are not read)");
    }
    if (!hasRgb && !fullResolution(luminance)) {
        return Parsed<HdrImage>::failure("subsampled channels are not read");
    }
    HdrImage image;
    image.width = size.value().width;
    image.height = size.value().height;
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * kHdrChannels);
    const std::size_t xStride = kHdrChannels * sizeof(float);
    const std::size_t yStride = xStride * static_cast<std::size_t>(image.width);
    Imf::FrameBuffer frame;
    // A missing colour channel reads as 0; a grey image's Y goes to red, then to all three.
    for (int channel = 0; channel < (hasRgb ? kHdrChannels : 1); ++channel) {
        frame.insert(
            hasRgb ? rgbNames[channel] : "Y",
            Imf::Slice::Make(Imf::FLOAT, image.rgb.data() + channel, window, xStride, yStride));
    }
    file.setFrameBuffer(frame);
    file.readPixels(window.min.y, window.max.y);
    if (!hasRgb) {
        for (std::size_t at = 0; at < image.rgb.size(); at += kHdrChannels) {
            image.rgb[at + 1] = image.rgb[at + 2] = image.rgb[at];
        }
    }
    return Parsed<HdrImage>::success(std::move(image));
}

}  // namespace
}  // namespace engine
