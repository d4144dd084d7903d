#include "app/display_mode.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <iostream>
#include <limits>

#include "base/globals.h"

bool parseListNumber(const std::string& word, int& number) {
    size_t i = 0;
    while (i < word.size() && std::isspace(static_cast<unsigned char>(word[i]))) ++i;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
    long long value = 0;
    for (; i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])); ++i) {
        value = value * 10 + (word[i] - '0');
        if (value > INT_MAX) return false;
    }
    if (negative && value != 0) return false;
    number = static_cast<int>(value);
    return true;
}

namespace {

// Shows every third mode, numbered from 0, and reads the player's number.
// Returns false after "NO VALID INPUT".
bool pickListedMode(std::istream& in, std::ostream& out, const std::vector<ModeSize>& modes,
                    DisplayChoice& choice) {
    int listed = 0;
    for (size_t mode = 0; mode < modes.size(); mode += 3, ++listed)
        out << listed << ": " << modes[mode].width << "x" << modes[mode].height << "\n";
    out << "Choose your Resolution (number) manually" << "\n";

    std::string word;
    in >> word;
    int number = 0;
    if (!parseListNumber(word, number) || number > listed - 1) {
        out << "NO VALID INPUT";
        return false;
    }
    choice.width = modes[3 * number].width;
    choice.height = modes[3 * number].height;
    return true;
}

// The questions, until an answer chooses a mode.
DisplayChoice runDialogue(std::istream& in, std::ostream& out, const std::vector<ModeSize>& modes, int width,
                          int height) {
    for (;;) {
        DisplayChoice choice{width, height, false};
        out << "Do you wanna play in fullscreen? y/n: ";
        std::string answer;
        in >> answer;
        if (answer == "y") {
            choice.fullscreen = true;
            out << "Do you wanna play in maximum Resolution? y/n: ";
            std::string maximum;
            in >> maximum;
            if (maximum == "y") {
                // Width and height are maximised separately; no modes keeps the default size.
                if (!modes.empty()) {
                    choice.width = modes[0].width;
                    choice.height = modes[0].height;
                }
                for (const ModeSize& mode : modes) {
                    choice.width = std::max(choice.width, mode.width);
                    choice.height = std::max(choice.height, mode.height);
                }
                return choice;
            }
            if (pickListedMode(in, out, modes, choice)) return choice;
        } else if (answer == "n") {
            if (pickListedMode(in, out, modes, choice)) return choice;
        } else {
            return choice;
        }
    }
}

}  // namespace

DisplayChoice askDisplayMode(std::istream& in, std::ostream& out, const std::vector<ModeSize>& modes,
                             int width, int height) {
    const DisplayChoice choice = runDialogue(in, out, modes, width, height);
    // The rest of the last answer's line, its Enter included, answers nothing:
    // the console pause after a fatal start-up error must wait for a new one.
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    return choice;
}

void chooseDisplayMode() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    int count = 0;
    const GLFWvidmode* glfwModes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
    std::vector<ModeSize> modes;
    for (int i = 0; glfwModes && i < count; ++i) modes.push_back({glfwModes[i].width, glfwModes[i].height});

    const DisplayChoice choice = askDisplayMode(std::cin, std::cout, modes, screenWidth, screenHeight);
    screenWidth = choice.width;
    screenHeight = choice.height;
    window = glfwCreateWindow(screenWidth, screenHeight, "KIVO", choice.fullscreen ? monitor : nullptr, nullptr);
}
