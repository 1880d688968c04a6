// The glTF file: the visible surface (visible_faces.h) as a glTF 2.0 binary (.glb) for browsers,
// Blender and phone viewers, written with TinyGLTF.
//
// One scene with one node (named after the model) holding one mesh. All triangles share one
// POSITION accessor: the model's vertices first, in vertex order, so the first points are the
// OFF file's coordinates, then the extra points of star and frame faces. Each distinct face
// colour is one material (metallic 0, roughness 0.6, double-sided like the VRML faces; blended
// when its alpha is below 1) and one primitive with its own index accessor; materials follow
// the order in which their faces come. The colours are the face colours of the VRML file, taken
// from display values into the linear values glTF asks for. No normals are written: viewers
// shade flat faces from the triangles. The asset's generator is "Ostrel " + version. The bytes
// depend on nothing but the faces (no dates, no paths).
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "output/visible_faces.h"

namespace ostrel {

// Throws RunError kPathFileAccess when TinyGLTF fails to write the stream.
void write_gltf(std::ostream& out, const VisibleFaces& faces, const std::string& name);

// The same into the file at `path` (output_file.h: temporary file, renamed when complete).
void write_gltf_file(const std::filesystem::path& path, const VisibleFaces& faces,
                     const std::string& name);

}  // namespace ostrel
