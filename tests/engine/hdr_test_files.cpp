#include "hdr_test_files.h"

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfOutputFile.h>
#include <half.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

std::array<unsigned char, 4> rgbeOf(const HdrColour& colour) {
    const float largest = std::max({colour[0], colour[1], colour[2]});
    if (largest < 1e-32f) {
        return {0, 0, 0, 0};
    }
    int exponent = 0;
    const float scale = std::frexp(largest, &exponent) * 256.0f / largest;
    return {static_cast<unsigned char>(colour[0] * scale),
            static_cast<unsigned char>(colour[1] * scale),
            static_cast<unsigned char>(colour[2] * scale),
            static_cast<unsigned char>(exponent + 128)};
}

std::string radianceHeader(const std::string& resolutionLine, const std::string& format) {
    std::string header = "#?RADIANCE\n# made by a test\n";
    if (!format.empty()) {
        header += format + "\n";
    }
    return header + "EXPOSURE=1.0\n\n" + resolutionLine + "\n";
}

// Runs of three or more equal bytes become run codes, the rest literal codes.
std::string runLengthScanline(const std::string& rgbePixels) {
    const std::size_t count = rgbePixels.size() / 4;
    std::string bytes = {2, 2, static_cast<char>(count >> 8), static_cast<char>(count & 0xff)};
    for (std::size_t component = 0; component < 4; ++component) {
        std::string values;
        for (std::size_t pixel = 0; pixel < count; ++pixel) {
            values += rgbePixels[pixel * 4 + component];
        }
        std::size_t at = 0;
        while (at < values.size()) {
            std::size_t run = 1;
            while (at + run < values.size() && run < 127 && values[at + run] == values[at]) {
                ++run;
            }
            if (run >= 3) {
                bytes += static_cast<char>(128 + run);
                bytes += values[at];
                at += run;
                continue;
            }
            std::size_t literal = 0;
            while (at + literal < values.size() && literal < 128) {
                const std::size_t next = at + literal;
                if (next + 2 < values.size() && values[next] == values[next + 1] &&
                    values[next] == values[next + 2]) {
                    break;
                }
                ++literal;
            }
            bytes += static_cast<char>(literal);
            bytes += values.substr(at, literal);
            at += literal;
        }
    }
    return bytes;
}

std::string radianceFile(int width, int height, const HdrPixels& pixels, RgbeScanlines scanlines) {
    std::string bytes =
        radianceHeader("-Y " + std::to_string(height) + " +X " + std::to_string(width));
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const std::array<unsigned char, 4> rgbe = rgbeOf(pixels(x, y));
            row.append(reinterpret_cast<const char*>(rgbe.data()), rgbe.size());
        }
        // Writers keep scanlines shorter than 8 pixels flat, as readers expect.
        const bool encoded = scanlines == RgbeScanlines::RunLength && width >= 8;
        bytes += encoded ? runLengthScanline(row) : row;
    }
    return bytes;
}

namespace {

class MemoryOutput final : public Imf::OStream {
  public:
    MemoryOutput() : Imf::OStream("memory") {}

    void write(const char data[], int count) override {
        const std::size_t end = position_ + static_cast<std::size_t>(count);
        if (bytes.size() < end) {
            bytes.resize(end);
        }
        std::memcpy(&bytes[position_], data, static_cast<std::size_t>(count));
        position_ = end;
    }
    std::uint64_t tellp() override { return position_; }
    void seekp(std::uint64_t position) override { position_ = position; }

    std::string bytes;

  private:
    std::size_t position_ = 0;
};

}  // namespace

std::string exrFile(int width, int height, const HdrPixels& pixels, ExrChannels channels, int left,
                    int top) {
    const Imath::Box2i window({left, top}, {left + width - 1, top + height - 1});
    Imf::Header header(window, window);
    const Imf::PixelType type = channels == ExrChannels::Float ? Imf::FLOAT : Imf::HALF;
    const std::vector<const char*> names = channels == ExrChannels::LuminanceHalf
                                               ? std::vector<const char*>{"Y"}
                                               : std::vector<const char*>{"R", "G", "B"};
    for (const char* name : names) {
        header.channels().insert(name, Imf::Channel(type));
    }
    const std::size_t count = static_cast<std::size_t>(width) * height;
    std::vector<float> floats(count * 3);
    std::vector<half> halves(count * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const HdrColour colour = pixels(x, y);
            for (std::size_t channel = 0; channel < 3; ++channel) {
                const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3 + channel;
                floats[at] = colour[channel];
                halves[at] = half(colour[channel]);
            }
        }
    }
    const char* base = type == Imf::FLOAT ? reinterpret_cast<const char*>(floats.data())
                                          : reinterpret_cast<const char*>(halves.data());
    const std::size_t channelSize = type == Imf::FLOAT ? sizeof(float) : sizeof(half);
    Imf::FrameBuffer frame;
    for (std::size_t channel = 0; channel < names.size(); ++channel) {
        frame.insert(names[channel],
                     Imf::Slice::Make(type, base + channel * channelSize, window, 3 * channelSize,
                                      3 * channelSize * static_cast<std::size_t>(width)));
    }
    MemoryOutput output;
    {
        Imf::OutputFile file(output, header, 0);
        file.setFrameBuffer(frame);
        file.writePixels(height);
    }
    return output.bytes;
}
