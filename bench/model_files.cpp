// Writes the model benchmark's files: a wavy surface of about 1,000,000 triangles as binary STL
// and as OBJ (the same mesh), and 2,000,000 coloured points as binary PLY.
//   model_files FOLDER
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// 708 by 708 squares, two triangles each: 1,002,528 triangles.
constexpr int kGridSquares = 708;
constexpr int kPoints = 2000000;

struct Point {
    float x, y, z;
};

Point surfacePoint(int column, int row) {
    const float u = static_cast<float>(column) / kGridSquares;
    const float v = static_cast<float>(row) / kGridSquares;
    return {u * 2.0f - 1.0f, 0.1f * std::sin(u * 25.0f) * std::cos(v * 19.0f), v * 2.0f - 1.0f};
}

template <typename Value>
void put(std::ofstream& file, const Value& value) {
    file.write(reinterpret_cast<const char*>(&value), sizeof value);
}

void writeStl(const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    std::string header(80, ' ');
    header.replace(0, 21, "model benchmark grid");
    file.write(header.data(), 80);
    put(file, static_cast<std::uint32_t>(kGridSquares * kGridSquares * 2));
    const auto facet = [&](Point a, Point b, Point c) {
        const Point normal{0.0f, 1.0f, 0.0f};
        for (const Point& point : {normal, a, b, c}) {
            put(file, point);
        }
        put(file, std::uint16_t{0});
    };
    for (int row = 0; row < kGridSquares; ++row) {
        for (int column = 0; column < kGridSquares; ++column) {
            const Point a = surfacePoint(column, row), b = surfacePoint(column + 1, row);
            const Point c = surfacePoint(column + 1, row + 1), d = surfacePoint(column, row + 1);
            facet(a, d, c);
            facet(a, c, b);
        }
    }
}

void writeObj(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    for (int row = 0; row <= kGridSquares; ++row) {
        for (int column = 0; column <= kGridSquares; ++column) {
            const Point p = surfacePoint(column, row);
            std::fprintf(file, "v %.6f %.6f %.6f\n", p.x, p.y, p.z);
        }
    }
    const auto index = [](int column, int row) { return row * (kGridSquares + 1) + column + 1; };
    for (int row = 0; row < kGridSquares; ++row) {
        for (int column = 0; column < kGridSquares; ++column) {
            std::fprintf(file, "f %d %d %d\nf %d %d %d\n", index(column, row),
                         index(column, row + 1), index(column + 1, row + 1), index(column, row),
                         index(column + 1, row + 1), index(column + 1, row));
        }
    }
    std::fclose(file);
}

void writePly(const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    file << "ply\nformat binary_little_endian 1.0\nelement vertex " << kPoints
         << "\nproperty float x\nproperty float y\nproperty float z\n"
            "property uchar red\nproperty uchar green\nproperty uchar blue\nend_header\n";
    std::uint32_t state = 12345;
    const auto random = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 16777216.0f;
    };
    for (int point = 0; point < kPoints; ++point) {
        // A shell of a sphere, coloured by direction.
        const float z = random() * 2.0f - 1.0f, angle = random() * 6.2831853f;
        const float ring = std::sqrt(1.0f - z * z);
        const Point p{ring * std::cos(angle), z, ring * std::sin(angle)};
        put(file, p);
        for (float channel : {p.x, p.y, p.z}) {
            put(file, static_cast<unsigned char>((channel * 0.5f + 0.5f) * 255.0f));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: model_files FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    writeStl(folder + "/grid.stl");
    writeObj(folder + "/grid.obj");
    writePly(folder + "/points.ply");
    return 0;
}
