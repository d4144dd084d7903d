#include "app/display_mode.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <iostream>
#include <limits>

#include "app/window.h"
#include "base/console.h"
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

std::string sizeText(PixelSize size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

// The largest width and the largest height among `modes`, each on its own;
// `fallback` when there are none.
PixelSize largestMode(const std::vector<PixelSize>& modes, PixelSize fallback) {
    if (modes.empty()) return fallback;
    PixelSize largest = modes[0];
    for (const PixelSize& mode : modes) {
        largest.width = std::max(largest.width, mode.width);
        largest.height = std::max(largest.height, mode.height);
    }
    return largest;
}

// Shows every third mode, numbered from 0, and reads the player's number.
// Returns false after "NO VALID INPUT".
bool pickListedMode(std::istream& in, std::ostream& out, const std::vector<PixelSize>& modes,
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
DisplayChoice runDialogue(std::istream& in, std::ostream& out, const std::vector<PixelSize>& modes, int width,
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
                const PixelSize largest = largestMode(modes, {width, height});
                choice.width = largest.width;
                choice.height = largest.height;
                return choice;
            }
            if (pickListedMode(in, out, modes, choice)) return choice;
        } else if (answer == "n") {
            if (pickListedMode(in, out, modes, choice)) return choice;
        } else {
            choice.defaultWindow = true;
            return choice;
        }
    }
}

}  // namespace

DisplayChoice askDisplayMode(std::istream& in, std::ostream& out, const std::vector<PixelSize>& modes,
                             int width, int height) {
    const DisplayChoice choice = runDialogue(in, out, modes, width, height);
    // The rest of the last answer's line, its Enter included, answers nothing:
    // the console pause after a fatal start-up error must wait for a new one.
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    return choice;
}

namespace {

std::vector<PixelSize> monitorModes(GLFWmonitor* monitor) {
    int count = 0;
    const GLFWvidmode* glfwModes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
    std::vector<PixelSize> modes;
    for (int i = 0; glfwModes && i < count; ++i) modes.push_back({glfwModes[i].width, glfwModes[i].height});
    return modes;
}

void openWindow(bool fullscreen) {
    window = glfwCreateWindow(screenWidth, screenHeight, "KIVO", fullscreen ? glfwGetPrimaryMonitor() : nullptr,
                              nullptr);
}

// The default window, fitted to the monitor's work area with the frame a
// window manager puts around it. The frame is known only once the window
// exists, so the window is made hidden, sized and then shown.
void openDefaultWindow() {
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    openWindow(false);
    glfwWindowHint(GLFW_VISIBLE, GLFW_TRUE);
    if (!window) return;

    PixelSize room{INT_MAX, INT_MAX};
    if (GLFWmonitor* monitor = glfwGetPrimaryMonitor()) {
        int x = 0, y = 0, width = 0, height = 0;
        glfwGetMonitorWorkarea(monitor, &x, &y, &width, &height);
        if (width > 0 && height > 0) room = {width, height};
    }
    int left = 0, top = 0, right = 0, bottom = 0;
    glfwGetWindowFrameSize(window, &left, &top, &right, &bottom);
    const PixelSize wanted{screenWidth, screenHeight};
    const PixelSize fitted =
        fitWindowSize(wanted, {std::max(1, room.width - left - right), std::max(1, room.height - top - bottom)});
    if (fitted.width != wanted.width || fitted.height != wanted.height) {
        report("the " + sizeText(wanted) + " window does not fit this " + sizeText(room) + " desktop: opening it at " +
               sizeText(fitted));
        screenWidth = fitted.width;
        screenHeight = fitted.height;
        glfwSetWindowSize(window, screenWidth, screenHeight);
    }
    glfwShowWindow(window);
}

}  // namespace

void chooseDisplayMode() {
    const DisplayChoice choice =
        askDisplayMode(std::cin, std::cout, monitorModes(glfwGetPrimaryMonitor()), screenWidth, screenHeight);
    screenWidth = choice.width;
    screenHeight = choice.height;
    if (choice.defaultWindow) openDefaultWindow();
    else openWindow(choice.fullscreen);
}

bool openNamedDisplay(const LaunchOptions& options) {
    if (options.window) {
        screenWidth = options.window->width;
        screenHeight = options.window->height;
        openWindow(false);
        return true;
    }
    const std::vector<PixelSize> modes = monitorModes(glfwGetPrimaryMonitor());
    if (options.fullscreenMode) {
        const PixelSize asked = *options.fullscreenMode;
        const bool offered = std::any_of(modes.begin(), modes.end(), [&](const PixelSize& mode) {
            return mode.width == asked.width && mode.height == asked.height;
        });
        if (!offered) {
            std::string offers;
            for (const PixelSize& mode : modes)
                offers += (offers.empty() ? "" : ", ") + sizeText(mode);
            report("'--fullscreen=" + sizeText(asked) + "': the monitor has no such mode (it offers " +
                   (offers.empty() ? "none" : offers) + ")");
            return false;
        }
        screenWidth = asked.width;
        screenHeight = asked.height;
    } else {
        const PixelSize largest = largestMode(modes, {screenWidth, screenHeight});
        screenWidth = largest.width;
        screenHeight = largest.height;
    }
    openWindow(true);
    return true;
}
