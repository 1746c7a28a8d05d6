// What a program that draws without a window sets up before its application object exists.
// Core layer (fylcore, QtCore only).
#pragma once

namespace fyl {

// On Linux and other X11/Wayland systems: the offscreen platform unless QT_QPA_PLATFORM says
// otherwise, so that a batch job over ssh or on a build server needs no display, and Qt's notice
// about a missing session runtime folder (which nothing here uses) kept off standard error, where
// it would bury the program's own messages. Nothing on Windows and macOS.
void prepareBatchPlatform();

} // namespace fyl
