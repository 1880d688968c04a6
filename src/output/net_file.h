// Nets for paper models, from the options to the files: the net of a run's model (NetFile), or
// of an OFF file for the desktop's model window (view/net_loader.h), in one SVG file per page.
//
// The first page is NAME_net.svg beside the OFF file NAME.off, further pages NAME_net_p2.svg,
// NAME_net_p3.svg, ... A model whose faces cross is refused (crossing_faces_problem), and so is a
// net with a face too big for the page at the edge length asked for; nothing is written then.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "output/net_pages.h"
#include "output/net_solid.h"
#include "settings/run_settings.h"

namespace ostrel {

// NetEdge read leniently (millimetres) and NetPage in lower case.
NetOptions net_options(const RunSettings& settings);

// The net of `faces`: refused with its reason in `problem`, or laid out on pages.
NetLayout make_net(const NetFaces& faces, const NetOptions& options);

// Page `page` (from 1) of the net whose first page is `first` (NAME_net.svg).
std::filesystem::path net_page_path(const std::filesystem::path& first, int page);

// "NAME net, page 2 of 3, 30 mm edges": the title of a page.
std::string net_page_title(const std::string& name, int page, int pages, const NetOptions& options);

// The SVG text of one page.
std::string net_page_svg(const NetPage& page, const std::string& title);

// Writes one page to `path` (output_file.h: complete or not at all).
void write_net_page_file(const std::filesystem::path& path, const NetPage& page,
                         const std::string& title);

}  // namespace ostrel
