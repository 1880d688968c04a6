// Augmentation: a pyramid raised on chosen faces. Every chosen face gets one new apex vertex
// and a new triangle on each of its sides; the relaxation then pulls the apex out of the face.
#pragma once

#include <string>

#include "core/debug_log.h"
#include "core/model.h"
#include "settings/run_settings.h"

namespace ostrel {

inline constexpr const char* kAugmentWithLinksError =
    "Error: A model with links (bands) cannot be augmented: the new faces would take the "
    "links' place";

// Whether the model asks for augmentation: the Augment option, or a face flagged "A".
bool augmentation_wanted(const Model& model, const RunSettings& settings);

// Augments the chosen faces: those flagged "A", and with Augment those of the AugmentVal kind
// ("n/d", or "n" for step 1). AugmentOption: 1 leaves the base face, 2 removes faces of the
// AugmentVal kind (FaceSides 0, dropped by the face compaction), 3 keeps it flagged "B".
// AugmentColour: 0 "Original", 1 "Highlight", 2 "Triangle", -1 none (no colour code).
// Returns an error message (a model with links is refused), empty on success.
std::string augment_faces(Model& model, const RunSettings& settings, DebugLog* debug);

}  // namespace ostrel
