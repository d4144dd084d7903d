// The start-up console: the display dialogue, driven through injected streams
// and mode lists, and the pause before a fatal exit.
#include <gtest/gtest.h>

#include <sstream>

#include "app/console.h"
#include "app/display_mode.h"
#include "tests/helpers.h"

namespace {

// Seven modes, as a monitor might report them; the list shows 0, 3 and 6.
const std::vector<ModeSize> sevenModes = {{640, 480},   {800, 600},   {1024, 768}, {1280, 720},
                                          {1280, 1024}, {1600, 1200}, {1920, 1080}};

struct Dialogue {
    std::string output;
    DisplayChoice choice;
};

Dialogue run(const std::string& answers, const std::vector<ModeSize>& modes = sevenModes) {
    std::istringstream in(answers);
    std::ostringstream out;
    const DisplayChoice choice = askDisplayMode(in, out, modes, 1600, 1400);
    return {out.str(), choice};
}

const char* const fullscreenQuestion = "Do you wanna play in fullscreen? y/n: ";

TEST(DisplayDialogue, PrintsTheQuestionsAndEveryThirdModeNumberedInPrintOrder) {
    EXPECT_EQ(run("x").output, fullscreenQuestion);
    EXPECT_EQ(run("y y").output, std::string(fullscreenQuestion) + "Do you wanna play in maximum Resolution? y/n: ");
    EXPECT_EQ(run("n 2").output, std::string(fullscreenQuestion) +
                                     "0: 640x480\n1: 1280x720\n2: 1920x1080\n"
                                     "Choose your Resolution (number) manually\n");
    EXPECT_NE(run("n 3 n 1").output.find(std::string("NO VALID INPUT") + fullscreenQuestion), std::string::npos)
        << "the restarted question follows on the same line";
}

TEST(DisplayDialogue, EachAnswerLeadsToItsModeOrRestarts) {
    struct Case {
        const char* answers;
        int width, height;
        bool fullscreen;
        int restarts;
    };
    const Case cases[] = {
        {"Y", 1600, 1400, false, 0},  // anything but y or n: the default window, no more questions
        {"n 0", 640, 480, false, 0},
        {"n 2", 1920, 1080, false, 0},
        {"y y", 1920, 1200, true, 0},  // maximum: largest width and height, each on its own
        {"y n 1", 1280, 720, true, 0},  // any other answer to maximum: the list, still full screen
        {"n 3 n 1", 1280, 720, false, 1},    // 3 is past the list of three: the whole dialogue restarts
        {"y n 7 n 0", 640, 480, false, 1},   // and decides full screen afresh
        {"n abc", 640, 480, false, 0},       // read like atoi: no number counts as 0
        {"n 2abc", 1920, 1080, false, 0},
        {"n +1", 1280, 720, false, 0},
        {"n -0", 640, 480, false, 0},
        {"n -1 x", 1600, 1400, false, 1},    // negative numbers are rejected
        {"n 2147483648 x", 1600, 1400, false, 1},  // so are numbers past int
        {"n 99999999999999999999 x", 1600, 1400, false, 1},
    };
    for (const Case& c : cases) {
        const Dialogue d = run(c.answers);
        EXPECT_EQ(d.choice.width, c.width) << '"' << c.answers << '"';
        EXPECT_EQ(d.choice.height, c.height) << '"' << c.answers << '"';
        EXPECT_EQ(d.choice.fullscreen, c.fullscreen) << '"' << c.answers << '"';
        EXPECT_EQ(countOf(d.output, "NO VALID INPUT"), c.restarts) << '"' << c.answers << '"';
    }
}

TEST(DisplayDialogue, WithoutModesEveryNumberIsRejectedAndEndOfInputEndsTheDialogue) {
    EXPECT_EQ(countOf(run("n 0 x", {}).output, "NO VALID INPUT"), 1);
    const Dialogue maximum = run("y y", {});
    EXPECT_EQ(maximum.choice.width, 1600);
    EXPECT_EQ(maximum.choice.height, 1400);
    EXPECT_TRUE(maximum.choice.fullscreen);
    // Each of these runs out of words at a different question; none may loop.
    for (const char* answers : {"", "y", "n", "y n", "n 9", "y n 9"}) {
        const Dialogue d = run(answers, {});
        EXPECT_LE(countOf(d.output, fullscreenQuestion), 2) << '"' << answers << '"';
        EXPECT_FALSE(d.choice.fullscreen) << '"' << answers << '"';
    }
}

TEST(ConsolePause, AsksForEnterConsumesOneLineAndReturnsAtEndOfInput) {
    std::istringstream in("first\nsecond\n");
    std::ostringstream out;
    consolePause(in, out);
    EXPECT_NE(out.str().find("Enter"), std::string::npos);
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, "second");
    std::istringstream empty;
    consolePause(empty, out);
    EXPECT_TRUE(empty.eof());
}

}  // namespace
