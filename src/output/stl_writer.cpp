#include "output/stl_writer.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "output/output_file.h"

namespace ostrel {
namespace {

void put_u32(std::ostream& out, std::uint32_t value) {
  const char bytes[4] = {static_cast<char>(value & 255), static_cast<char>((value >> 8) & 255),
                         static_cast<char>((value >> 16) & 255),
                         static_cast<char>((value >> 24) & 255)};
  out.write(bytes, 4);
}

void put_float(std::ostream& out, double value) {
  const float single = static_cast<float>(value);
  std::uint32_t bits = 0;
  std::memcpy(&bits, &single, sizeof bits);
  put_u32(out, bits);
}

}  // namespace

void write_stl(std::ostream& out, const VisibleFaces& faces, const std::string& name) {
  std::string header = "Ostrel " OSTREL_VERSION " " + name;
  header.resize(80, ' ');
  out.write(header.data(), 80);
  put_u32(out, static_cast<std::uint32_t>(faces.triangle_count()));
  const auto point = [&](std::uint32_t p) {
    return std::array<double, 3>{faces.positions[3 * p], faces.positions[3 * p + 1],
                                 faces.positions[3 * p + 2]};
  };
  for (std::size_t t = 0; t < faces.triangle_count(); ++t) {
    const auto a = point(faces.triangles[3 * t]);
    const auto b = point(faces.triangles[3 * t + 1]);
    const auto c = point(faces.triangles[3 * t + 2]);
    const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const double v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    double normal[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                        u[0] * v[1] - u[1] * v[0]};
    const double length =
        std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    for (double& component : normal) component = length > 0 ? component / length : 0.0;
    for (double component : normal) put_float(out, component);
    for (const auto& corner : {a, b, c}) {
      for (double coordinate : corner) put_float(out, coordinate);
    }
    out.write("\0\0", 2);
  }
}

void write_stl_file(const std::filesystem::path& path, const VisibleFaces& faces,
                    const std::string& name) {
  write_output_file(path, [&](std::ostream& out) { write_stl(out, faces, name); });
}

}  // namespace ostrel
