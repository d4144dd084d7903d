// Reads a coin layout line "COIN i X:x Y:y Z:z" as the coin field prints it.
#pragma once

#include <cstdio>
#include <string>

struct CoinLine {
    int index, x, y, z;
};

// True when `text` is exactly one such line.
inline bool parseCoinLine(const std::string& text, CoinLine& line) {
    if (std::sscanf(text.c_str(), "COIN %d X:%d Y:%d Z:%d", &line.index, &line.x, &line.y, &line.z) != 4)
        return false;
    // Printed back, the numbers must give the very same text: no other spacing or signs.
    return text == "COIN " + std::to_string(line.index) + " X:" + std::to_string(line.x) +
                       " Y:" + std::to_string(line.y) + " Z:" + std::to_string(line.z);
}
