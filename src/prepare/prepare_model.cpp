#include "prepare/prepare_model.h"

#include "core/lenient_number.h"
#include "prepare/augment.h"
#include "prepare/isomorph.h"
#include "prepare/star_polygons.h"

namespace ostrel {

PreparedModel prepare_model(Model& model, const RunSettings& settings, UserDialog& host,
                            DebugLog* debug) {
  PreparedModel prepared;
  if (settings.HighVert) {
    for (int v = model.FirstVertex; v <= model.LastVertex; ++v) model.VertexFlags(v) += "V";
  }
  if (settings.AllCyl) {
    for (int f = 1; f <= model.FaceCount; ++f) model.FaceFlags(f) += "O";
  }
  prepared.collapse_answer = collapse_fans(model, host, debug);
  clean_up_vertices(model, debug);
  prepared.input_last_vertex = model.LastVertex;
  prepared.error = augment_faces(model, settings, debug);
  if (!prepared.error.empty()) return prepared;
  compact_faces(model);
  prepared.error = order_star_corners(model, debug);
  if (!prepared.error.empty()) return prepared;
  build_edge_table(model, settings.weaken_limit(), debug);
  apply_edge_marks(model);
  // The limit in force: the typed one only when Once is ticked too, else 99 (every edge).
  const double limit = settings.weaken_limit();
  if (settings.Weaken && limit > 0 && count_weakenable_edges(model, limit) == 0) {
    prepared.error = kWeakenError;
    return prepared;
  }
  prepared.links = std::make_unique<VertexLinkTable>();
  build_vertex_links(model, *prepared.links, debug);
  // A model written as entered is never relaxed, so its centroid vertices are not needed.
  if (!mark_centroid_vertices(model) && !settings.incord) {
    prepared.error = kCentroidError;
    return prepared;
  }
  if (settings.expansion_mode() == kExpandGlobal) {
    prepared.hop = std::make_unique<HopDistanceTable>(make_hop_distance_table(model.LastVertex));
    double band_length = model.LinkCount > 0 ? lenient_value(settings.BandLen) : 1.0;
    compute_hop_distances(model, *prepared.links, band_length, *prepared.hop, debug);
    if (settings.SqrtHop)
      prepared.negative_square_roots =
          apply_square_root_hop(model, lenient_value(settings.SqrtMult), *prepared.hop);
  }
  return prepared;
}

}  // namespace ostrel
