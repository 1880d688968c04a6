#include "output/gltf_writer.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>

#include "core/run_error.h"
#include "output/output_file.h"

namespace ostrel {
namespace {

// A display (sRGB) colour component 0..1 as the linear value glTF's baseColorFactor holds.
double linear(float display) {
  const double c = display;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

template <class T>
void append_bytes(std::vector<unsigned char>& data, const T& value) {
  unsigned char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  data.insert(data.end(), bytes, bytes + sizeof(T));
}

}  // namespace

void write_gltf(std::ostream& out, const VisibleFaces& faces, const std::string& name) {
  tinygltf::Model gltf;
  gltf.asset.version = "2.0";
  gltf.asset.generator = "Ostrel " OSTREL_VERSION;
  tinygltf::Scene scene;
  scene.name = name;

  // Triangles grouped by colour, each group in face order.
  using Colour = std::array<float, 4>;
  std::vector<Colour> colours;
  std::vector<std::vector<std::uint32_t>> groups;
  std::map<Colour, std::size_t> group_of;
  for (std::size_t t = 0; t < faces.triangle_count(); ++t) {
    const float* rgba = &faces.face_rgba[4 * static_cast<std::size_t>(faces.triangle_faces[t])];
    const Colour colour{rgba[0], rgba[1], rgba[2], rgba[3]};
    auto [entry, added] = group_of.try_emplace(colour, colours.size());
    if (added) {
      colours.push_back(colour);
      groups.emplace_back();
    }
    auto& group = groups[entry->second];
    group.insert(group.end(), &faces.triangles[3 * t], &faces.triangles[3 * t] + 3);
  }

  if (!groups.empty()) {
    tinygltf::Buffer buffer;
    std::vector<double> low(3, std::numeric_limits<double>::infinity());
    std::vector<double> high(3, -std::numeric_limits<double>::infinity());
    const std::size_t points = faces.positions.size() / 3;
    for (std::size_t k = 0; k < faces.positions.size(); ++k) {
      const float value = static_cast<float>(faces.positions[k]);
      low[k % 3] = std::min(low[k % 3], static_cast<double>(value));
      high[k % 3] = std::max(high[k % 3], static_cast<double>(value));
      append_bytes(buffer.data, value);
    }
    const std::size_t position_bytes = buffer.data.size();
    for (const auto& group : groups) {
      for (std::uint32_t index : group) append_bytes(buffer.data, index);
    }
    gltf.buffers.push_back(std::move(buffer));

    tinygltf::BufferView position_view;
    position_view.buffer = 0;
    position_view.byteLength = position_bytes;
    position_view.target = TINYGLTF_TARGET_ARRAY_BUFFER;
    tinygltf::BufferView index_view;
    index_view.buffer = 0;
    index_view.byteOffset = position_bytes;
    index_view.byteLength = gltf.buffers[0].data.size() - position_bytes;
    index_view.target = TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER;
    gltf.bufferViews = {position_view, index_view};

    tinygltf::Accessor positions;
    positions.bufferView = 0;
    positions.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    positions.type = TINYGLTF_TYPE_VEC3;
    positions.count = points;
    positions.minValues = low;
    positions.maxValues = high;
    gltf.accessors.push_back(positions);

    tinygltf::Mesh mesh;
    mesh.name = name;
    std::size_t offset = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
      tinygltf::Accessor indices;
      indices.bufferView = 1;
      indices.byteOffset = offset;
      indices.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
      indices.type = TINYGLTF_TYPE_SCALAR;
      indices.count = groups[g].size();
      offset += 4 * groups[g].size();
      gltf.accessors.push_back(indices);

      tinygltf::Material material;
      const Colour& colour = colours[g];
      material.pbrMetallicRoughness.baseColorFactor = {linear(colour[0]), linear(colour[1]),
                                                       linear(colour[2]), colour[3]};
      material.pbrMetallicRoughness.metallicFactor = 0.0;
      material.pbrMetallicRoughness.roughnessFactor = 0.6;
      material.doubleSided = true;
      if (colour[3] < 1.0f) material.alphaMode = "BLEND";
      gltf.materials.push_back(material);

      tinygltf::Primitive primitive;
      primitive.attributes["POSITION"] = 0;
      primitive.indices = static_cast<int>(gltf.accessors.size() - 1);
      primitive.material = static_cast<int>(g);
      primitive.mode = TINYGLTF_MODE_TRIANGLES;
      mesh.primitives.push_back(primitive);
    }
    gltf.meshes.push_back(mesh);
    tinygltf::Node node;
    node.name = name;
    node.mesh = 0;
    gltf.nodes.push_back(node);
    scene.nodes.push_back(0);
  }
  gltf.scenes.push_back(scene);
  gltf.defaultScene = 0;

  tinygltf::TinyGLTF writer;
  if (!writer.WriteGltfSceneToStream(&gltf, out, false, true)) {
    throw RunError(kPathFileAccess, "Error: The glTF file of " + name + " could not be written");
  }
}

void write_gltf_file(const std::filesystem::path& path, const VisibleFaces& faces,
                     const std::string& name) {
  write_output_file(path, [&](std::ostream& out) { write_gltf(out, faces, name); });
}

}  // namespace ostrel
