// The start-up console: the display dialogue over injected streams and mode
// lists.
#include <gtest/gtest.h>

#include <sstream>

#include "app/display_mode.h"
#include "tests/support/helpers.h"

namespace {

// Seven modes, as a monitor might report them; the list shows 0, 3 and 6.
const std::vector<PixelSize> sevenModes = {{640, 480},   {800, 600},   {1024, 768}, {1280, 720},
                                          {1280, 1024}, {1600, 1200}, {1920, 1080}};
const char* const fullscreenQuestion = "Do you wanna play in fullscreen? y/n: ";

struct Dialogue {
    std::string output, rest;  // what it printed, what it left unread
    DisplayChoice choice;
};

Dialogue run(const std::string& answers, const std::vector<PixelSize>& modes = sevenModes) {
    std::istringstream in(answers);
    std::ostringstream out;
    const DisplayChoice choice = askDisplayMode(in, out, modes, 1600, 1400);
    std::string rest;
    std::getline(in, rest, '\0');
    return {out.str(), rest, choice};
}

TEST(DisplayDialogue, PrintsTheQuestionsAndEveryThirdModeNumberedInPrintOrder) {
    EXPECT_EQ(run("n 2").output, std::string(fullscreenQuestion) +
                                     "0: 640x480\n1: 1280x720\n2: 1920x1080\n"
                                     "Choose your Resolution (number) manually\n");
    EXPECT_EQ(run("y y").output, std::string(fullscreenQuestion) + "Do you wanna play in maximum Resolution? y/n: ");
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
        {"Y", 1600, 1400, false, 0},        // anything but y or n: the default window, no more questions
        {"n 2", 1920, 1080, false, 0},
        {"y y", 1920, 1200, true, 0},       // maximum: largest width and height, each on its own
        {"y n 1", 1280, 720, true, 0},      // any other answer to maximum: the list, still full screen
        {"y n 7 n 0", 640, 480, false, 1},  // 7 is past the list: the whole dialogue restarts
        {"n abc", 640, 480, false, 0},      // read like atoi: no number counts as 0
        {"n 2abc", 1920, 1080, false, 0},
        {"n +1", 1280, 720, false, 0},
        {"n -1 x", 1600, 1400, false, 1},   // negative numbers are rejected
        {"n 2147483648 x", 1600, 1400, false, 1},  // so are numbers past int
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers);
        const Dialogue d = run(c.answers);
        EXPECT_EQ(d.choice.width, c.width);
        EXPECT_EQ(d.choice.height, c.height);
        EXPECT_EQ(d.choice.fullscreen, c.fullscreen);
        EXPECT_EQ(d.choice.defaultWindow, c.width == 1600 && !c.fullscreen) << "no answer chose the size";
        EXPECT_EQ(countOf(d.output, "NO VALID INPUT"), c.restarts);
    }
    // Without modes every number is rejected; running out of words ends the dialogue.
    EXPECT_EQ(countOf(run("n 0 x", {}).output, "NO VALID INPUT"), 1);
    for (const char* answers : {"", "y", "n", "y n", "y n 9"}) {
        const int asked = countOf(run(answers, {}).output, fullscreenQuestion);
        EXPECT_TRUE(asked == 1 || asked == 2) << '"' << answers << "\": asked " << asked << " times";
    }
    // The last answer's line is used up, so a console pause after the
    // dialogue waits for a fresh Enter (the pause itself: tests/e2e/pause.sh).
    EXPECT_EQ(run("n 0 extra words\nnext line\n").rest, "next line\n");
    EXPECT_EQ(run("x\n").rest, "");
}

}  // namespace
