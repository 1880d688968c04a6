#include "output/file_set.h"

#include <cmath>

#include "core/colour.h"
#include "core/message_sink.h"
#include "core/model.h"
#include "core/run_error.h"
#include "output/gltf_writer.h"
#include "output/net_file.h"
#include "output/off_writer.h"
#include "output/stl_writer.h"
#include "output/visible_faces.h"
#include "output/vrml_anim.h"
#include "output/vrml_cylinder.h"
#include "output/vrml_frame.h"
#include "output/vrml_geometry.h"
#include "output/vrml_header.h"
#include "output/vrml_solid.h"
#include "output/vrml_switch.h"

namespace ostrel {
namespace {

constexpr double kShapeTolerance = 1e-8;

bool same_shape(const RhombusDiagonals& a, const RhombusDiagonals& b) {
  return std::abs(a.short_diagonal - b.short_diagonal) < kShapeTolerance &&
         std::abs(a.long_diagonal - b.long_diagonal) < kShapeTolerance;
}

}  // namespace

RhombusSetColours choose_rhombus_colours(const RunSettings& settings,
                                         const std::array<RhombusDiagonals, 4>& diagonals) {
  RhombusSetColours colours;
  colours.set = {"", settings.RhomCol1, settings.RhomCol2, settings.RhomCol3};
  // Both the square colour and the shared colours of equal shapes belong to the override:
  // without it every set keeps the colour chosen for it.
  if (!settings.RhomColO) return colours;
  for (std::size_t set = 1; set <= 3; ++set) {
    if (std::abs(diagonals[set].short_diagonal - std::sqrt(2.0)) < kShapeTolerance) {
      colours.set[set] = settings.Colour4;
    }
  }
  if (same_shape(diagonals[2], diagonals[1])) colours.set[2] = colours.set[1];
  if (same_shape(diagonals[3], diagonals[1])) colours.set[3] = colours.set[1];
  if (same_shape(diagonals[3], diagonals[2])) colours.set[3] = colours.set[2];
  return colours;
}

std::string WeakenSuffix(const RunSettings& settings) {
  return settings.Weaken ? "_weaken" + settings.WeakenLimit : std::string();
}

std::string VariantSuffix(const RunSettings& settings, bool stress_pass) {
  std::string suffix = WeakenSuffix(settings);
  if (stress_pass) suffix += "_stress";
  if (settings.Augment) suffix += "_aug";
  if (settings.Smooth) suffix += "_smooth";
  return suffix;
}

std::string StyleSuffix(const std::string& suffix_text) {
  if (suffix_text.empty() || suffix_text == " ") return {};
  return "_" + suffix_text;
}

bool style_enabled(const RunSettings& settings, VrmlStyle style) {
  switch (style) {
    case VrmlStyle::kSolid: return settings.SolidVRML;
    case VrmlStyle::kAnim: return settings.AnimVRML;
    case VrmlStyle::kFrame: return settings.FrameVRML;
    case VrmlStyle::kSwitch: return settings.SwitchVRML;
    case VrmlStyle::kCylinder: return settings.CylVRML;
  }
  return false;
}

const std::string& style_suffix_text(const RunSettings& settings, VrmlStyle style) {
  switch (style) {
    case VrmlStyle::kSolid: return settings.SolidSuffix;
    case VrmlStyle::kAnim: return settings.AnimSuffix;
    case VrmlStyle::kFrame: return settings.FrameSuffix;
    case VrmlStyle::kSwitch: return settings.SwitchSuffix;
    case VrmlStyle::kCylinder: return settings.CylSuffix;
  }
  return settings.SolidSuffix;
}

OutputKind output_kind(VrmlStyle style) {
  switch (style) {
    case VrmlStyle::kSolid: return OutputKind::kSolidVrml;
    case VrmlStyle::kAnim: return OutputKind::kAnimVrml;
    case VrmlStyle::kFrame: return OutputKind::kFrameVrml;
    case VrmlStyle::kSwitch: return OutputKind::kSwitchVrml;
    case VrmlStyle::kCylinder: return OutputKind::kCylinderVrml;
  }
  return OutputKind::kSolidVrml;
}

std::filesystem::path off_file_path(const RunSettings& settings, const OutputContext& context) {
  return context.OutputDirectory / (context.OutputName + WeakenSuffix(settings) + ".off");
}

std::filesystem::path vrml_file_path(const RunSettings& settings, const OutputContext& context,
                                     VrmlStyle style) {
  return context.OutputDirectory /
         (context.OutputName + StyleSuffix(style_suffix_text(settings, style)) +
          VariantSuffix(settings, context.StressPass) + ".wrl");
}

std::vector<WrittenFile> write_file_set(const Model& model, const RunSettings& settings,
                                        const OutputContext& context, UserDialog& host,
                                        ErrorHandler& errors) {
  std::vector<WrittenFile> written;

  // Runs one file's writer; a RunError skips the file (or ends the call through RunStopped).
  const auto write_one = [&](OutputKind kind, const std::filesystem::path& path,
                             const auto& write) {
    try {
      std::error_code ignored;
      if (!context.InputPath.empty() &&
          std::filesystem::equivalent(path, context.InputPath, ignored)) {
        throw RunError(kPathFileAccess,
                       "Error: " + path.string() + " is the input file; it is not written over",
                       path.string());
      }
      write(path);
      written.push_back({kind, path});
    } catch (const RunError& error) {
      errors.recover(error);
    }
  };

  if (settings.BeepIt && !context.StressPass) {
    for (int beep = 0; beep < 3; ++beep) host.beep();
  }

  const RhombusSetColours rhombus = choose_rhombus_colours(settings, context.RhombusSetDiagonals);

  if (context.SegmentCount >= 2) {
    // Segmented run: none of the ordinary files is written. The segmented VRML file and the
    // four-dimensional OFF file are written once, after the last segment, by
    // write_segmented_file_set (segmented.h).
    return written;
  }

  if (settings.OffFile && !context.StressPass) {
    write_one(OutputKind::kOff, off_file_path(settings, context),
              [&](const std::filesystem::path& path) {
                const OffColourTable colours = build_off_colour_table(settings, rhombus, host);
                const HighlightState highlight{settings.Highlight, settings.highlight_kind()};
                write_off_file(path, model, colours, highlight, context);
              });
  }

  if ((settings.GltfFile || settings.StlFile || settings.NetFile) && !context.StressPass) {
    std::optional<VisibleFaces> faces;  // built for the first of the two files
    const auto visible = [&]() -> const VisibleFaces& {
      if (!faces) faces = visible_faces(model, settings, rhombus, host);
      return *faces;
    };
    const std::filesystem::path off = off_file_path(settings, context);
    if (settings.GltfFile) {
      write_one(OutputKind::kGltf, std::filesystem::path(off).replace_extension(".glb"),
                [&](const std::filesystem::path& path) {
                  write_gltf_file(path, visible(), context.OutputName);
                });
    }
    if (settings.StlFile) {
      write_one(OutputKind::kStl, std::filesystem::path(off).replace_extension(".stl"),
                [&](const std::filesystem::path& path) {
                  write_stl_file(path, visible(), context.OutputName);
                });
    }
    if (settings.NetFile) {
      const std::filesystem::path first =
          std::filesystem::path(off).replace_filename(off.stem().string() + "_net.svg");
      try {
        const NetOptions options = net_options(settings);
        const NetLayout layout = make_net(net_faces(model, visible()), options);
        if (!layout.problem.empty()) throw RunError(kPathFileAccess, layout.problem, first.string());
        for (int page = 1; page <= static_cast<int>(layout.pages.size()); ++page) {
          write_one(OutputKind::kNet, net_page_path(first, page),
                    [&](const std::filesystem::path& path) {
                      write_net_page_file(path, layout.pages[static_cast<std::size_t>(page - 1)],
                                          net_page_title(context.OutputName, page,
                                                         static_cast<int>(layout.pages.size()),
                                                         options));
                    });
        }
      } catch (const RunError& error) {
        errors.recover(error);
      }
    }
  }

  VrmlInputs inputs{model, settings, context, rhombus, host};
  for (VrmlStyle style : kVrmlStyles) {
    if (!style_enabled(settings, style) || style == VrmlStyle::kAnim) continue;  // no spheres
    if (vertex_sphere_step(model, settings, context, style == VrmlStyle::kCylinder) ==
        SphereStep::kNoneDrawn)
      inputs.dummy_sphere = false;
  }
  for (VrmlStyle style : kVrmlStyles) {
    if (!style_enabled(settings, style)) continue;
    const std::filesystem::path path = vrml_file_path(settings, context, style);
    using FileWriter = void (*)(const std::filesystem::path&, const VrmlInputs&);
    FileWriter writer = write_solid_vrml_file;
    switch (style) {
      case VrmlStyle::kSolid: writer = write_solid_vrml_file; break;
      case VrmlStyle::kAnim: writer = write_anim_vrml_file; break;
      case VrmlStyle::kFrame: writer = write_frame_vrml_file; break;
      case VrmlStyle::kSwitch: writer = write_switch_vrml_file; break;
      case VrmlStyle::kCylinder: writer = write_cylinder_vrml_file; break;
    }
    write_one(output_kind(style), path,
              [&](const std::filesystem::path& file) { writer(file, inputs); });
  }
  return written;
}

}  // namespace ostrel
