// Radiance RGBE files: a text header ("#?RADIANCE", variables such as FORMAT=, a blank line), a
// resolution line ("-Y HEIGHT +X WIDTH" and its seven other orientations), then scanlines of
// 4-byte pixels (red, green and blue mantissas sharing an exponent), each scanline flat, in the
// old run-length form or in the new one (four components, one after the other, each in runs).
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/formats/image_codecs.h"

namespace engine {
namespace {

// Real headers hold a few lines; a longer one is not an image header.
constexpr std::size_t kMostHeaderBytes = 64 * 1024;
// New-style run-length scanlines say their length in 15 bits and are at least 8 pixels long.
constexpr int kShortestEncodedScanline = 8;
constexpr int kLongestEncodedScanline = 0x7fff;
constexpr int kPixelBytes = 4;

// Where the resolution line puts each axis: scanlines run along the minor axis, one after the
// other along the major axis; a '-' Y axis starts at the top, a '+' X axis at the left.
struct Orientation {
    bool scanlinesAreRows = true;
    bool majorReversed = false;
    bool minorReversed = false;
};

struct RadianceHeader {
    ImageSize size;
    Orientation orientation;
    // Where the pixels start.
    std::size_t pixelsAt = 0;
};

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool atEnd() const { return at_ >= bytes_.size(); }
    std::size_t position() const { return at_; }
    std::size_t left() const { return bytes_.size() - at_; }
    unsigned char byte(std::size_t offset = 0) const {
        return static_cast<unsigned char>(bytes_[at_ + offset]);
    }
    void skip(std::size_t count) { at_ += count; }
    // The next line without its '\n' (nor a '\r' before it); false when no '\n' ends it within
    // the header's bound.
    bool line(std::string_view& text) {
        const std::size_t end = bytes_.find('\n', at_);
        if (end == std::string_view::npos || end >= kMostHeaderBytes) {
            return false;
        }
        text = bytes_.substr(at_, end - at_);
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        at_ = end + 1;
        return true;
    }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

Parsed<RadianceHeader> readHeader(std::string_view bytes);
bool readResolution(std::string_view line, RadianceHeader& header);
std::string headerEndFault(const Reader& reader);
std::string quoted(std::string_view text);

// Decodes one scanline of count pixels into rgbe (count * 4 bytes), or says why not.
class ScanlineDecoder {
  public:
    explicit ScanlineDecoder(Reader& reader) : reader_(reader) {}
    std::string decode(int count, unsigned char* rgbe);

  private:
    Reader& reader_;

    bool startsEncoded(int count) const;
    std::string decodeEncoded(int count, unsigned char* rgbe);
    std::string decodeFlat(int count, unsigned char* rgbe);
};

void storePixel(const unsigned char* rgbe, float* rgb);
std::size_t pixelIndex(const RadianceHeader& header, int scanline, int position);

}  // namespace

Parsed<ImageSize> readRadianceSize(std::string_view bytes) {
    Parsed<RadianceHeader> header = readHeader(bytes);
    if (!header.ok()) {
        return Parsed<ImageSize>::failure(header.error());
    }
    return Parsed<ImageSize>::success(header.value().size);
}

// The caller has checked the size against the limits.
Parsed<HdrImage> decodeRadiance(std::string_view bytes) {
    Parsed<RadianceHeader> parsedHeader = readHeader(bytes);
    if (!parsedHeader.ok()) {
        return Parsed<HdrImage>::failure(parsedHeader.error());
    }
    const RadianceHeader& header = parsedHeader.value();
    const Orientation& orientation = header.orientation;
    const int scanlines = orientation.scanlinesAreRows ? header.size.height : header.size.width;
    const int scanlineLength =
        orientation.scanlinesAreRows ? header.size.width : header.size.height;
    HdrImage image;
    image.width = header.size.width;
    image.height = header.size.height;
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * kHdrChannels);
    std::vector<unsigned char> rgbe(static_cast<std::size_t>(scanlineLength) * kPixelBytes);
    Reader reader(bytes);
    reader.skip(header.pixelsAt);
    ScanlineDecoder decoder(reader);
    for (int scanline = 0; scanline < scanlines; ++scanline) {
        const std::string fault = decoder.decode(scanlineLength, rgbe.data());
        if (!fault.empty()) {
            return Parsed<HdrImage>::failure(fault + " (scanline " + std::to_string(scanline + 1) +
                                             " of " + std::to_string(scanlines) + ")");
        }
        for (int position = 0; position < scanlineLength; ++position) {
            storePixel(&rgbe[static_cast<std::size_t>(position) * kPixelBytes],
                       &image.rgb[pixelIndex(header, scanline, position) * kHdrChannels]);
        }
    }
    return Parsed<HdrImage>::success(std::move(image));
}

namespace {

Parsed<RadianceHeader> readHeader(std::string_view bytes) {
    Reader reader(bytes);
    std::string_view line;
    if (!reader.line(line) || (line.rfind("#?RADIANCE", 0) != 0 && line.rfind("#?RGBE", 0) != 0)) {
        return Parsed<RadianceHeader>::failure("the file does not start with #?RADIANCE or #?RGBE");
    }
    // Radiance itself takes a header without FORMAT= as RGB, and some writers leave it out.
    while (true) {
        if (!reader.line(line)) {
            return Parsed<RadianceHeader>::failure(headerEndFault(reader));
        }
        if (line.empty()) {
            break;
        }
        if (line.rfind("FORMAT=", 0) != 0) {
            continue;  // comments, EXPOSURE=, GAMMA=, PRIMARIES=, SOFTWARE=, ...
        }
        const std::string_view format = line.substr(7);
        if (format == "32-bit_rle_xyze") {
            return Parsed<RadianceHeader>::failure(
                "its pixels are CIE XYZ (FORMAT=32-bit_rle_xyze); only RGB "
                "(FORMAT=32-bit_rle_rgbe) is read");
        }
        if (format != "32-bit_rle_rgbe") {
            return Parsed<RadianceHeader>::failure("unknown pixel format " + quoted(line) +
                                                   "; only FORMAT=32-bit_rle_rgbe is read");
        }
    }
    RadianceHeader header;
    if (!reader.line(line)) {
        return Parsed<RadianceHeader>::failure("the file ends before its resolution line");
    }
    if (!readResolution(line, header)) {
        return Parsed<RadianceHeader>::failure("the resolution line " + quoted(line) +
                                               " is not like '-Y HEIGHT +X WIDTH'");
    }
    header.pixelsAt = reader.position();
    return Parsed<RadianceHeader>::success(header);
}

// One axis of the resolution line: a sign, X or Y, a space, a size of 1 to 9 digits.
bool readAxis(std::string_view& text, char& sign, char& axis, int& size) {
    if (text.size() < 4 || (text[0] != '-' && text[0] != '+') ||
        (text[1] != 'X' && text[1] != 'Y') || text[2] != ' ') {
        return false;
    }
    sign = text[0];
    axis = text[1];
    text.remove_prefix(3);
    std::size_t digits = 0;
    size = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        if (++digits > 9) {
            return false;
        }
        size = size * 10 + (text[digits - 1] - '0');
    }
    text.remove_prefix(digits);
    return digits > 0;
}

bool readResolution(std::string_view line, RadianceHeader& header) {
    char majorSign = 0;
    char majorAxis = 0;
    int majorSize = 0;
    char minorSign = 0;
    char minorAxis = 0;
    int minorSize = 0;
    if (!readAxis(line, majorSign, majorAxis, majorSize) || line.empty() || line[0] != ' ') {
        return false;
    }
    line.remove_prefix(1);
    if (!readAxis(line, minorSign, minorAxis, minorSize) || majorAxis == minorAxis) {
        return false;
    }
    // Trailing spaces are harmless; anything else is not a resolution line.
    if (line.find_first_not_of(' ') != std::string_view::npos) {
        return false;
    }
    Orientation& orientation = header.orientation;
    orientation.scanlinesAreRows = majorAxis == 'Y';
    // Rows count down from the top along -Y; columns count up from the left along +X.
    orientation.majorReversed = majorSign == (majorAxis == 'Y' ? '+' : '-');
    orientation.minorReversed = minorSign == (minorAxis == 'Y' ? '+' : '-');
    header.size.width = majorAxis == 'X' ? majorSize : minorSize;
    header.size.height = majorAxis == 'Y' ? majorSize : minorSize;
    return true;
}

std::string headerEndFault(const Reader& reader) {
    if (reader.position() + reader.left() > kMostHeaderBytes) {
        return "its header does not end within " + std::to_string(kMostHeaderBytes / 1024) + " KiB";
    }
    return "the file ends inside its header";
}

std::string quoted(std::string_view text) {
    constexpr std::size_t kLongestQuote = 40;
    std::string shown(text.substr(0, kLongestQuote));
    for (char& character : shown) {
        if (static_cast<unsigned char>(character) < 0x20 ||
            static_cast<unsigned char>(character) >= 0x7f) {
            character = '?';
        }
    }
    return "'" + shown + (text.size() > kLongestQuote ? "...'" : "'");
}

std::string ScanlineDecoder::decode(int count, unsigned char* rgbe) {
    return startsEncoded(count) ? decodeEncoded(count, rgbe) : decodeFlat(count, rgbe);
}

// A new-style scanline starts with 2, 2 and its length, whose top bit is clear; any other
// start is a flat pixel (whose red and green are never both 2 with a blue below 128 and a
// valid exponent in the files that writers make).
bool ScanlineDecoder::startsEncoded(int count) const {
    return count >= kShortestEncodedScanline && count <= kLongestEncodedScanline &&
           reader_.left() >= kPixelBytes && reader_.byte(0) == 2 && reader_.byte(1) == 2 &&
           (reader_.byte(2) & 0x80) == 0;
}

std::string ScanlineDecoder::decodeEncoded(int count, unsigned char* rgbe) {
    const int declared = (reader_.byte(2) << 8) | reader_.byte(3);
    if (declared != count) {
        return "a run-length scanline declares " + std::to_string(declared) + " pixels, not " +
               std::to_string(count);
    }
    reader_.skip(kPixelBytes);
    for (int component = 0; component < kPixelBytes; ++component) {
        int filled = 0;
        while (filled < count) {
            if (reader_.atEnd()) {
                return "the file ends inside its pixels";
            }
            const int code = reader_.byte();
            reader_.skip(1);
            // Above 128: a run of one value; 1 to 128: that many values as they are.
            const bool run = code > 128;
            const int length = run ? code - 128 : code;
            if (length == 0) {
                return "a run of no pixels";
            }
            if (length > count - filled) {
                return "a run goes past the end of its scanline";
            }
            if (reader_.left() < (run ? 1u : static_cast<std::size_t>(length))) {
                return "the file ends inside its pixels";
            }
            for (int index = 0; index < length; ++index) {
                rgbe[static_cast<std::size_t>(filled + index) * kPixelBytes + component] =
                    reader_.byte(run ? 0 : static_cast<std::size_t>(index));
            }
            reader_.skip(run ? 1 : static_cast<std::size_t>(length));
            filled += length;
        }
    }
    return std::string();
}

// Four bytes a pixel; the old run-length form writes (1, 1, 1, n) to repeat the pixel before
// it n times, and consecutive repeats count in higher bytes (n << 8, n << 16, ...).
std::string ScanlineDecoder::decodeFlat(int count, unsigned char* rgbe) {
    int filled = 0;
    int shift = 0;
    while (filled < count) {
        if (reader_.left() < kPixelBytes) {
            return "the file ends inside its pixels";
        }
        unsigned char* pixel = rgbe + static_cast<std::size_t>(filled) * kPixelBytes;
        if (reader_.byte(0) == 1 && reader_.byte(1) == 1 && reader_.byte(2) == 1) {
            if (filled == 0) {
                return "a repeat before any pixel of its scanline";
            }
            if (shift > 24) {
                return "a repeat count beyond 32 bits";
            }
            const std::uint64_t repeats = static_cast<std::uint64_t>(reader_.byte(3)) << shift;
            if (repeats > static_cast<std::uint64_t>(count - filled)) {
                return "a repeat goes past the end of its scanline";
            }
            for (std::uint64_t index = 0; index < repeats; ++index) {
                std::memcpy(pixel + index * kPixelBytes, pixel - kPixelBytes, kPixelBytes);
            }
            filled += static_cast<int>(repeats);
            shift += 8;
        } else {
            for (int component = 0; component < kPixelBytes; ++component) {
                pixel[component] = reader_.byte(static_cast<std::size_t>(component));
            }
            ++filled;
            shift = 0;
        }
        reader_.skip(kPixelBytes);
    }
    return std::string();
}

// Mantissa times 2^(exponent - 136), as Ward's rgbe.c has it: (128, 128, 128, 131) is 4.0.
void storePixel(const unsigned char* rgbe, float* rgb) {
    if (rgbe[3] == 0) {
        rgb[0] = rgb[1] = rgb[2] = 0.0f;
        return;
    }
    const float scale = std::ldexp(1.0f, static_cast<int>(rgbe[3]) - (128 + 8));
    for (int channel = 0; channel < kHdrChannels; ++channel) {
        rgb[channel] = static_cast<float>(rgbe[channel]) * scale;
    }
}

std::size_t pixelIndex(const RadianceHeader& header, int scanline, int position) {
    const Orientation& orientation = header.orientation;
    const int scanlines = orientation.scanlinesAreRows ? header.size.height : header.size.width;
    const int scanlineLength =
        orientation.scanlinesAreRows ? header.size.width : header.size.height;
    const int major = orientation.majorReversed ? scanlines - 1 - scanline : scanline;
    const int minor = orientation.minorReversed ? scanlineLength - 1 - position : position;
    const int x = orientation.scanlinesAreRows ? minor : major;
    const int y = orientation.scanlinesAreRows ? major : minor;
    return static_cast<std::size_t>(y) * header.size.width + static_cast<std::size_t>(x);
}

}  // namespace
}  // namespace engine
