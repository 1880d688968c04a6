// The net of a written model for the model view: the faces of an OFF file, as the net writer
// takes them.
#pragma once

#include <filesystem>
#include <string>

#include "output/net_solid.h"

namespace ostrel {

// The faces of an OFF file with their colours (light grey where the file gives none), for a net
// of a model a run wrote or of any other OFF file. `error` says why a file cannot be read.
NetFaces net_faces_of_off_file(const std::filesystem::path& path, std::string& error);

}  // namespace ostrel
