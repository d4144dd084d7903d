// The console: the game's own messages, and the pause after a fatal error.
//
// Standard output carries only the lines that scripts read (the dialogue,
// the grid and coin lines) and the fixed failure texts that have always gone
// there; everything else the game has to say, a file it cannot keep, a pad
// coming and going, an asset it goes without, is one line on standard error
// through report().
#pragma once

#include <iosfwd>
#include <string>

// One line on stderr: "kivo: " and `message`.
void report(const std::string& message);

// Keeps a fatal message readable: asks for Enter and waits for one line of
// `in`. Returns at once at end of input, so a run without a terminal never hangs.
void consolePause(std::istream& in, std::ostream& out);
void consolePause();  // on std::cin / std::cout

// Ends the program after a failure that makes the game impossible: the pause,
// then exit status -1 (255 as the shell sees it). The message is the caller's.
[[noreturn]] void fatalExit();
