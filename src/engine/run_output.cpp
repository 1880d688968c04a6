#include "engine/run_output.h"

#include "engine/orientation.h"
#include "input/shapes.h"
#include "output/generation_date.h"
#include "prepare/isomorph.h"

namespace ostrel {

OutputContext RunOutput::context(const WritePoint& point, const RunFigures& figures) const {
  const Model& model = point.model;
  const Relaxation* relax = point.relax;
  OutputContext context;
  context.OutputDirectory = request_.output_folder;
  context.OutputName = point.name;
  context.version = request_.version;
  context.generation_date = generation_date();
  context.SegmentCount = settings_.SegmentCount;
  // A segmented model made only of anchors is written before any relaxation ran.
  for (int set = 1; set <= 3 && relax; ++set) {
    const RhombusSet& rhombus = relax->rhombus_sets()[static_cast<std::size_t>(set)];
    if (rhombus.count > 0) {
      context.RhombusSetDiagonals[static_cast<std::size_t>(set)] = {rhombus.short_target,
                                                                    rhombus.long_target};
    }
  }
  context.debug_log = point.debug;
  context.IterationDeform = context.MeasuredDeform = figures.Deform;
  context.IterationDeforp = context.MeasuredDeforp = figures.Deforp;
  if (relax) {
    context.deviations.FaceDeviation = relax->motion().FaceDeviation;
    context.deviations.EdgeDeviation = relax->motion().EdgeDeviation;
  }
  for (int set = 1; set <= 2 && relax; ++set) {
    const HexagonSet& hexagon = relax->hexagon_sets()[static_cast<std::size_t>(set)];
    if (hexagon.count > 0)
      context.HexagonSetPairMean[static_cast<std::size_t>(set)] = hexagon.pair_mean;
  }
  context.ViewingDistance = 3.5 * scene_radius(model);
  if (input_last_vertex < model.LastVertex) context.InputLastVertex = input_last_vertex;
  context.CurrentSegment = point.segment;
  context.InputFile =
      request_.shape ? shape_base_name(*request_.shape) : request_.input.filename().string();
  if (!request_.shape) context.InputPath = request_.input;
  if (collapse_answer) context.CollapseStars = *collapse_answer ? "Yes" : "No";
  return context;
}

std::vector<std::filesystem::path> RunOutput::write(const WritePoint& point,
                                                    const RunFigures& figures) {
  Model& model = point.model;
  OutputContext context = this->context(point, figures);
  // Turned once per write point: the stress pass writes the model as the ordinary pass did.
  if (model.OrientFlag) OrientationStep(model);
  std::vector<std::filesystem::path> paths;
  bool net_written = false;
  for (const WrittenFile& file : write_file_set(model, settings_, context, host_, errors_)) {
    paths.push_back(file.path);
    net_written = net_written || file.kind == OutputKind::kNet;
  }
  if (settings_.NetFile && settings_.SegmentCount < 2 && !net_written) ++report_.nets_not_written;
  if (settings_.StressMap) {
    context.StressPass = true;
    for (const WrittenFile& file : write_file_set(model, settings_, context, host_, errors_)) {
      paths.push_back(file.path);
    }
  }
  report_.files.insert(report_.files.end(), paths.begin(), paths.end());
  return paths;
}

void RunOutput::record(IsomorphOutcome outcome, std::vector<std::filesystem::path> files,
                       const RunFigures& figures) {
  IsomorphReport entry;
  entry.number = figures.IsomorphNo;
  entry.iterations = figures.IterationNo;
  entry.deform = figures.Deform;
  entry.deforp = figures.Deforp;
  entry.outcome = outcome;
  entry.files = std::move(files);
  report_.isomorphs.push_back(std::move(entry));
}

void RunOutput::announce(const std::string& message,
                         const std::vector<std::filesystem::path>& files) {
  if (!files.empty()) host_.message(message);
}

}  // namespace ostrel
