// The start-up dialogue, driven through injected streams and mode lists.
#include <gtest/gtest.h>

#include <sstream>

#include "app/display_mode.h"

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
    Dialogue d{"", askDisplayMode(in, out, modes, 1600, 1400)};
    d.output = out.str();
    return d;
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(DisplayDialogue, AnythingButYOrNOpensTheDefaultWindowWithoutFurtherQuestions) {
    for (const char* answer : {"Y", "yes", "N", "x", ""}) {
        const Dialogue d = run(answer);
        EXPECT_EQ(d.output, "Do you wanna play in fullscreen? y/n: ") << answer;
        EXPECT_EQ(d.choice.width, 1600);
        EXPECT_EQ(d.choice.height, 1400);
        EXPECT_FALSE(d.choice.fullscreen);
    }
}

TEST(DisplayDialogue, WindowedListShowsEveryThirdModeNumberedInPrintOrder) {
    const Dialogue d = run("n 2");
    EXPECT_EQ(d.output,
              "Do you wanna play in fullscreen? y/n: "
              "0: 640x480\n1: 1280x720\n2: 1920x1080\n"
              "Choose your Resolution (number) manually\n");
    EXPECT_EQ(d.choice.width, 1920);
    EXPECT_EQ(d.choice.height, 1080);
    EXPECT_FALSE(d.choice.fullscreen);
}

TEST(DisplayDialogue, MaximumResolutionTakesLargestWidthAndHeightSeparately) {
    const Dialogue d = run("y y", {{1920, 1080}, {1600, 1400}, {800, 600}});
    EXPECT_EQ(d.choice.width, 1920);
    EXPECT_EQ(d.choice.height, 1400);
    EXPECT_TRUE(d.choice.fullscreen);
    EXPECT_EQ(d.output, "Do you wanna play in fullscreen? y/n: Do you wanna play in maximum Resolution? y/n: ");
}

TEST(DisplayDialogue, AnyOtherAnswerToMaximumLeadsToTheListStillFullScreen) {
    for (const char* second : {"n", "Y", "maybe"}) {
        const Dialogue d = run(std::string("y ") + second + " 1");
        EXPECT_EQ(count(d.output, "Choose your Resolution (number) manually\n"), 1) << second;
        EXPECT_EQ(d.choice.width, 1280);
        EXPECT_EQ(d.choice.height, 720);
        EXPECT_TRUE(d.choice.fullscreen);
    }
}

TEST(DisplayDialogue, NumberPastTheListRestartsTheWholeDialogue) {
    const Dialogue d = run("n 3 n 1");
    EXPECT_NE(d.output.find("NO VALID INPUT" "Do you wanna play in fullscreen? y/n: "), std::string::npos)
        << "the restarted question follows on the same line";
    EXPECT_EQ(count(d.output, "Do you wanna play in fullscreen?"), 2);
    EXPECT_EQ(d.choice.width, 1280);
    EXPECT_FALSE(d.choice.fullscreen);
}

TEST(DisplayDialogue, RestartedDialogueDecidesFullScreenAfresh) {
    const Dialogue d = run("y n 7 n 0");
    EXPECT_EQ(d.choice.width, 640);
    EXPECT_FALSE(d.choice.fullscreen);
}

TEST(DisplayDialogue, NonNumberCountsAsZeroAndPicksTheFirstMode) {
    const Dialogue d = run("n abc");
    EXPECT_EQ(d.choice.width, 640);
    EXPECT_EQ(d.choice.height, 480);
}

TEST(DisplayDialogue, NegativeAndOversizedNumbersAreRejected) {
    for (const char* bad : {"-1", "-2147483648", "2147483648", "99999999999999999999"}) {
        const Dialogue d = run(std::string("n ") + bad + " x");
        EXPECT_EQ(count(d.output, "NO VALID INPUT"), 1) << bad;
        EXPECT_EQ(d.choice.width, 1600) << bad;
    }
}

TEST(DisplayDialogue, NoVideoModesRejectsEveryNumberAndMaximumKeepsTheDefault) {
    EXPECT_EQ(count(run("n 0 x", {}).output, "NO VALID INPUT"), 1);
    const Dialogue maximum = run("y y", {});
    EXPECT_EQ(maximum.choice.width, 1600);
    EXPECT_EQ(maximum.choice.height, 1400);
    EXPECT_TRUE(maximum.choice.fullscreen);
}

TEST(DisplayDialogue, EndOfInputAtAnyQuestionEnds) {
    // Each of these runs out of words at a different question; none may loop.
    for (const char* answers : {"", "y", "n", "y n", "n 9", "y n 9"}) {
        const Dialogue d = run(answers, {});
        EXPECT_FALSE(d.choice.fullscreen && d.choice.width == 0) << answers;
        EXPECT_LE(count(d.output, "Do you wanna play in fullscreen?"), 2) << answers;
    }
}

TEST(ListNumber, ParsesLikeAtoiWithinRange) {
    int n = -7;
    EXPECT_TRUE(parseListNumber("12", n));
    EXPECT_EQ(n, 12);
    EXPECT_TRUE(parseListNumber("3abc", n));
    EXPECT_EQ(n, 3);
    EXPECT_TRUE(parseListNumber("+4", n));
    EXPECT_EQ(n, 4);
    EXPECT_TRUE(parseListNumber("-0", n));
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(parseListNumber("2147483647", n));
    EXPECT_EQ(n, 2147483647);
    EXPECT_FALSE(parseListNumber("-5", n));
    EXPECT_FALSE(parseListNumber("2147483648", n));
}
