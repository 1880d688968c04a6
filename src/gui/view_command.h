// The model view from the command line:
//
//   ostrel --view FILE.off [--screenshot OUT.png [--size WxH]] [--rotate YAW,PITCH] [--frame]
//
// With --screenshot the view of the model is painted into a PNG picture of W × H pixels
// (800 × 800 by default) without a window: the offscreen platform is used unless QT_QPA_PLATFORM
// names another. Without it the model window opens and the program ends when it is closed.
// --rotate sets the view's yaw and pitch in degrees (yaw 0, pitch 0 looks along −z with y up);
// --frame shows every face as its band, as the frame VRML file does.
// Exit status: 0 when the picture was written or the window closed, 1 when the file cannot be
// read or its coordinates cannot be drawn (not finite, or too large; the message on stderr) or
// the picture cannot be saved, 2 for unusable arguments (a --rotate that is no pair of finite
// numbers among them).
#pragma once

namespace ostrel::gui {

// Whether the arguments ask for the model view (--view among them).
bool is_view_command(int argc, char** argv);

// Runs the model view; the arguments as main received them. Creates the application itself.
int view_main(int argc, char** argv);

}  // namespace ostrel::gui
