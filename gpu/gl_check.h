// GL errors: a code error stops, a data error warns.
//
// A GL error is always a fault of the game's code (a wrong enum, a wrong
// binding, a uniform the program does not have), never of the player's data:
// in the debug and sanitizer builds (KIVO_GL_CHECKS) it stops the program at
// the call that caused it, with the driver's message and the call stack, so
// the GL tests and the end-to-end runs cannot pass over one. Setting a
// uniform the program does not have stops there too. A release build says
// the first GL error in one line and plays on: a frame drawn a little wrong
// is better than no game.
#pragma once

#include <string>

// True in the builds where GL faults stop the program.
bool glChecksStop();

// Watches the current context: where the driver has KHR_debug or
// ARB_debug_output (a debug context, which setWindowHints() asks for in
// those builds), each error reaches a callback within the call that caused
// it. Needs GLEW loaded.
void watchGlErrors();

// Reads the errors a frame left (the release build's watch, and the debug
// builds' where the driver has no debug output): the first is reported once,
// or stops the program in the debug builds. `where` names the moment.
void checkGlErrors(const char* where);

// A code fault found by the game itself, `what` in one line: stops the
// program in the debug builds, is reported once in a release build.
void glFault(const std::string& what);
