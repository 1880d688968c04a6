// One page of a net as an SVG file that prints at scale: its size in millimetres and a view box
// of one unit per millimetre. Faces are `<polygon class="face">` filled with their colour, tabs
// `<polygon class="tab">` in light grey, edges `<line>` of class "cut" (solid), "cut tabbed" (a
// side carrying a tab: fold the tab under along it), "fold mountain" (dashed) and "fold valley"
// (dash and dot), pair numbers `<text class="pair">`. Numbers have two decimals; the bytes
// depend only on the page and the title.
#pragma once

#include <ostream>
#include <string>

#include "output/net_pages.h"

namespace ostrel {

void write_net_svg(std::ostream& out, const NetPage& page, const std::string& title);

}  // namespace ostrel
