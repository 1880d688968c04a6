#include "engine/attempt.h"

#include <algorithm>
#include <cmath>

#include "core/lenient_number.h"
#include "core/number_format.h"
#include "core/run_error.h"
#include "engine/start/build_start.h"
#include "engine/start/grow_start.h"
#include "engine/start/repulsion.h"
#include "engine/start/shape_solver.h"
#include "engine/start/stress_start.h"

namespace ostrel {
namespace {

// Unrelated vertices closer than this are held apart while a robust start is settled.
constexpr double kRepulsionReach = 0.7;
// The least-squares cost below which a robust start counts as settled.
constexpr double kSolvedCost = 1e-16;
// A model built with no vertex further than this from its partners' distances is whole: the
// least squares settle the rest.
constexpr double kBuiltMiss = 1e-3;
// The half width of the small cube of random points that a model with star faces starts from
// when its layout does not settle.
constexpr double kSmallStartReach = 0.5;

bool has_star_face(const Model& model) {
  for (int f = 1; f <= model.FaceCount; ++f) {
    if (model.FaceStep(f) > 1) return true;
  }
  return false;
}

}  // namespace

std::uint64_t attempt_draws(const Model& model, const RunSettings& settings, int start_slots) {
  Random counter(0);
  draw_local_inflation(settings, counter);
  const std::uint64_t inflation = counter.draws();
  const int first = model.FirstVertex;
  std::uint64_t placed = 0;
  for (int v = first; v <= model.LastVertex; ++v) {
    if (v > first + start_slots) ++placed;
  }
  return inflation + 3 * placed;
}

Attempt::Attempt(const PassData& pass, const AttemptPlan& plan, std::unique_ptr<Model> model)
    : pass_(pass),
      plan_(plan),
      model_(std::move(model)),
      convergence_(pass.settings->run_mode(), pass.settings->iteration_limit()) {
  if (plan.robust) convergence_.settle_to_last_bits(model_->EdgeCount, model_->FaceCount);
}

void Attempt::start() {
  const RunSettings& settings = *pass_.settings;
  Model& model = *model_;
  // The run's one stream, at the place where this attempt's draws begin: attempt k draws what
  // it would draw had the attempts before it run one after the other.
  Random random(plan_.seed);
  random.skip(plan_.skipped);
  LocalInflation inflation = draw_local_inflation(settings, random);
  input_positions_ = model.StartListRead && model.LastStartSlot > 0;
  mode_ = pass_.kept_mode;
  if (from_off_coordinates() && mode_ == kExpandGlobal && !settings.InflateGiven)
    mode_ = kExpandNone;
  const bool local = mode_ == kExpandLocalOne || mode_ == kExpandLocalDiagonal;
  relax_ = std::make_unique<Relaxation>(model, settings);
  relax_->set_local_expansion(mode_, local,
                              mode_ == kExpandLocalDiagonal
                                  ? edge_inflation_factors(model, settings, inflation)
                                  : std::vector<double>{});
  relax_->shape_boost = local ? 10.0 : 1.0;
  if (pass_.debug)
    debug_lines_.insert(
        debug_lines_.end(),
        {"expand :" + print_form(mode_), "expold :" + print_form(pass_.kept_mode),
         "minvert :" + print_form(model.FirstVertex), "maxvert :" + print_form(model.LastVertex),
         "d4fac :" + print_form(relax_->shape_boost)});
  // The motion starts at rest where the vertices are placed, before a flat model is flattened.
  place_vertices(model, random);
  relax_->reset_motion();
  flatten_vertices(model, settings);
  convergence_.start();
  if (settings.incord) return;  // written as entered
  if (plan_.robust && pass_.distances && pass_.fixed) {
    // The robust start's own choices come from a stream of the attempt's own, so that the run's
    // stream stays where the attempts after it expect it.
    Random extra(plan_.seed ^ (0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(plan_.number)));
    robust_start(extra);
    shown_stage = nullptr;
    start_cancelled_ = cancelled();
  } else if (mode_ == kExpandGlobal && pass_.hop) {
    const int passes = relax_->global_prestage(*pass_.hop, lenient_value(settings.GlobLim), cancel);
    start_cancelled_ = cancelled();
    if (passes == 0 && !start_cancelled_ && pass_.debug) {
      debug_lines_.push_back(
          "Global inflation did not settle; relaxing from the starting positions");
    }
  }
}

// The robust start. The model built vertex by vertex, as one builds it by hand, comes out whole
// when it is rigid (a chain of tetrahedra); when building cannot meet every distance (a model
// with some freedom, such as a tower of rings) or settles folded, stress majorization lays it
// out instead. Each start is settled by least squares on the fixed distances, unrelated
// vertices held apart; a model whose own unrelated vertices stand closer than that (the points
// of a star polyhedron) is settled once more without it.
void Attempt::robust_start(Random& extra) {
  Model& model = *model_;
  const RunSettings& settings = *pass_.settings;
  Repulsion repulsion(model, kRepulsionReach);
  const auto settle = [&](Repulsion* held, const char* what) {
    shown_cost = std::nan("");
    shown_stage = "least squares";
    ShapeSolverResult solved = solve_shape(model, *pass_.fixed, held, cancel, 200, &shown_cost);
    relax_->reset_motion();
    if (pass_.debug) {
      debug_lines_.push_back(std::string("Shape solver, ") + what + ":" + print_form(solved.steps) +
                             " steps," + print_form(solved.cg_iterations) + " cg iterations, cost" +
                             print_form(solved.cost));
    }
    return solved.cost <= kSolvedCost;
  };
  // An OFF file's points are the first start tried: a model given near its shape keeps it.
  if (from_off_coordinates() && settle(nullptr, "from the input")) return;
  if (cancelled()) return;
  shown_cost = std::nan("");
  shown_stage = "building";
  const double miss = build_start(model, *pass_.fixed, extra, cancel);
  shown_cost = miss;
  if (pass_.debug) debug_lines_.push_back("Robust start: built, largest miss" + print_form(miss));
  // A model built to its distances is kept in case nothing settles better.
  std::vector<double> built;
  if (cancelled()) return;
  if (miss <= kBuiltMiss) {
    for (int v = model.FirstVertex; v <= model.LastVertex; ++v)
      built.insert(built.end(), {model.VertexX(v), model.VertexY(v), model.VertexZ(v)});
    if (settle(&repulsion, "built")) return;
  }

  // A model with some freedom (a tower of rings) grows face by face from one face instead; a
  // growth that stalls or folds (a torus, say, closing on itself) is laid out next. A flat
  // model, one without faces and one with star faces (which grown from a face settle the same
  // wrong way each time) are laid out at once.
  if (!settings.XYConfine && model.FaceCount > 0 && !has_star_face(model)) {
    shown_cost = std::nan("");
    shown_stage = "growing";
    const GrowStartResult grown =
        grow_start(model, *pass_.fixed, extra, cancel, &shown_cost, !settings.Coincidence);
    if (pass_.debug) {
      debug_lines_.push_back("Robust start: grown," + print_form(grown.layers) + " layers," +
                             print_form(grown.solves) + " solves, cost" + print_form(grown.cost) +
                             (grown.folded ? ", folded" : ""));
    }
    relax_->reset_motion();
    if (grown.settled || cancelled()) return;
  }

  // The layout starts from random positions of its own: from the built model it would keep
  // whatever that had folded.
  for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
    model.VertexX(v) = 2.0 * extra.uniform() - 1.0;
    model.VertexY(v) = 2.0 * extra.uniform() - 1.0;
    model.VertexZ(v) = settings.XYConfine ? 0.0 : 2.0 * extra.uniform() - 1.0;
  }
  StressStartOptions options;
  options.threads = pass_.threads;
  options.band_length = model.LinkCount > 0 ? lenient_value(settings.BandLen) : 1.0;
  options.flat = settings.XYConfine;
  options.cancel = cancel;
  options.shown_stress = &shown_cost;
  if (cancelled()) return;
  shown_cost = std::nan("");
  shown_stage = "laying out";
  StressStartResult laid =
      stress_majorization_start(model, *pass_.distances, *pass_.fixed, options);
  relax_->reset_motion();
  shown_cost = laid.stress;
  if (pass_.debug) {
    debug_lines_.push_back("Stress majorization:" + print_form(laid.steps) + " steps, stress" +
                           print_form(laid.stress));
  }
  if (settle(&repulsion, "laid out") || cancelled() || settle(nullptr, "without holding apart"))
    return;
  // The step counts of a model with star faces overstate its distances (a pentagram's corners
  // stand closer than its edges lead), so its layout is a convex ball that settles the same
  // wrong way at every attempt. A start from random points close together, new at each attempt,
  // settles some of them.
  if (has_star_face(model) && !cancelled()) {
    for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
      model.VertexX(v) = kSmallStartReach * (2.0 * extra.uniform() - 1.0);
      model.VertexY(v) = kSmallStartReach * (2.0 * extra.uniform() - 1.0);
      model.VertexZ(v) =
          settings.XYConfine ? 0.0 : kSmallStartReach * (2.0 * extra.uniform() - 1.0);
    }
    if (settle(nullptr, "from points close together")) return;
  }
  if (!built.empty()) {
    std::size_t k = 0;
    for (int v = model.FirstVertex; v <= model.LastVertex; ++v, k += 3) {
      model.VertexX(v) = built[k];
      model.VertexY(v) = built[k + 1];
      model.VertexZ(v) = built[k + 2];
    }
    return;
  }
  // A start the solver could not settle would only crawl: the next attempt starts afresh.
  robust_failed_ = true;
}

AttemptEnd Attempt::relax(AttemptObserver& observer) {
  const RunSettings& settings = *pass_.settings;
  const Model& model = *model_;
  if (start_cancelled_) return AttemptEnd::kQuit;
  if (robust_failed_) return AttemptEnd::kFinished;  // unsettled: the next attempt starts afresh
  while (true) {
    ++iteration_;
    convergence_.record(iteration_, deform_);
    const double previous_deform = deform_;
    const double previous_deforp = deforp_;
    deform_ = 0.0;
    deforp_ = 0.0;
    relax_->step(iteration_, settings.RegHex, deform_, deforp_);
    if (deform_ < 0.01) graphics_ = previous_deform >= 0.01;

    if (iteration_ % 10 == 0) {
      shown_iteration = iteration_;
      shown_deform = deform_;
      shown_deforp = deforp_;
      const AttemptEnd action = observer.poll(*this);
      if (action != AttemptEnd::kFinished) return action;
    }

    // Forces that overshoot until the positions are no longer numbers (too strong a force, or
    // Force2 at 0) are the run's overflow: the handler names it and ends the run.
    if (!std::isfinite(deform_) || !std::isfinite(deforp_)) {
      throw RunError(kOverflow, "Error: Overflow.  Try reducing some Force Strengths",
                     "iteration " + std::to_string(iteration_));
    }
    const double change = std::fabs(deform_ - previous_deform);
    StepVerdict verdict = convergence_.after_step(
        {iteration_, deform_, change, deforp_, found_, relax_->local_expansion_running(), mode_});
    if (verdict.stop_expansion) {
      relax_->stop_local_expansion();
      mode_ = kExpandNone;
    }
    bool finished = verdict.finished;
    if (!found_ && deform_ < 0.001) {
      found_ = true;
      const Signature signature =
          isomorph_signature(model, settings.Isomorph, settings.Coincidence);
      found_point_ = {true, iteration_, deform_, deforp_, signature, {}};
      for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
        found_point_.positions.insert(found_point_.positions.end(),
                                      {model.VertexX(v), model.VertexY(v), model.VertexZ(v)});
      }
      if (signature.coincident) {
        observer.duplicate_label("Co-incident vertices found");
        finished = true;
      } else if (observer.knows_duplicates() && observer.is_duplicate(signature.value)) {
        observer.duplicate_label("Duplicate Isomorph");
        return AttemptEnd::kDuplicate;
      }
    }
    // A 'Once' run is one attempt: at the iteration limit it is written as it stands.
    if (finished && iteration_ >= convergence_.limit() && settings.run_mode() != 2 &&
        settings.SegmentCount <= 1)
      found_ = true;
    if (finished) return AttemptEnd::kFinished;

    const double moved = change + std::fabs(deforp_ - previous_deforp);
    StallVerdict stall = convergence_.stall_test(iteration_, deform_, deforp_, moved);
    if (!stall.due) continue;
    if (pass_.debug)
      debug_lines_.insert(
          debug_lines_.end(),
          {"Iteration: " + print_form(iteration_) + " Deform: " + print_form(deform_) +
               " Deforp: " + print_form(deforp_),
           "  Change since last iteration: " + print_form(moved),
           "       Change since iteration: " + print_form(stall.since) + print_form(stall.gain)});
    if (!stall.improving) {
      if (pass_.debug)
        debug_lines_.push_back("  Writing output files after iteration :" + print_form(iteration_));
      found_ = true;
      return AttemptEnd::kFinished;
    }
  }
}

}  // namespace ostrel
