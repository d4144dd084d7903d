// Console helpers for start-up failures.
#pragma once

#include <iosfwd>

// Keeps a fatal message readable: asks for Enter and waits for one line of
// `in`. Returns at once at end of input, so a run without a terminal never hangs.
void consolePause(std::istream& in, std::ostream& out);
void consolePause();  // on std::cin / std::cout

// Ends the program after a failure that makes the game impossible: the pause,
// then exit status -1 (255 as the shell sees it). The message is the caller's.
[[noreturn]] void fatalExit();
