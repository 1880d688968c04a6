// Texts the run builds from its figures: the end of a run that settled nothing, and short
// numbers for the progress line. (outcome_name, of run.h, is here too.)
#pragma once

#include <string>

namespace ostrel {

// Two significant digits, in the C form whatever the locale: "4.5e-05", "0.002", "12".
std::string short_number(double value);

// The error that ends a run whose attempts all ran out without a settled isomorph, with the
// best deformation reached (E the edges', P the faces') and what it means.
std::string nothing_settled_message(int attempts, double deform, double deforp);

}  // namespace ostrel
