#include "base/console.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

void report(const std::string& message) { std::fprintf(stderr, "kivo: %s\n", message.c_str()); }

void consolePause(std::istream& in, std::ostream& out) {
    out << "Press Enter to continue . . ." << std::endl;
    std::string line;
    std::getline(in, line);
}

void consolePause() { consolePause(std::cin, std::cout); }

void fatalExit() {
    std::cout.flush();
    std::cerr.flush();
    consolePause();
    std::exit(-1);
}
