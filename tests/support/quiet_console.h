// Sends std::cout into nothing while it lives. The game writes its coin
// layouts and pick-ups there; tests and benchmarks that do not read them keep
// their own output clean with this.
#pragma once

#include <iostream>
#include <streambuf>

class QuietConsole {
public:
    QuietConsole() : saved_(std::cout.rdbuf(&discard_)) {}
    ~QuietConsole() { std::cout.rdbuf(saved_); }
    QuietConsole(const QuietConsole&) = delete;
    QuietConsole& operator=(const QuietConsole&) = delete;

private:
    struct Discard final : std::streambuf {
        int overflow(int c) override { return traits_type::not_eof(c); }
    };
    Discard discard_;
    std::streambuf* saved_;
};
