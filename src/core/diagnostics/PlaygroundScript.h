#pragma once

#include "ports/Geometry.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace fenwold {

// One step of a playground script. Points are in the simulated screen's coordinates, from its
// top-left corner, y down.
struct ScriptStep {
    enum class Kind {
        press,
        hold,
        release,
        type,
        wait,
        move,
        click,
        doubleClick,
        mouseDown,
        mouseUp,
        drag,
        space,
        activate,
        stickSecureInput,
        layout,
        secondDisplay,
        screenshot,
        windowShot
    };
    Kind kind = Kind::press;
    int line = 0;
    std::vector<uint16_t> modifiers; // key codes held around a press, or held/released
    std::optional<uint16_t> key;     // the pressed key; none for a chord of modifiers only
    // A pressed key named by its letter or symbol: the key that carries it on the layout when the
    // step is played (`key` is its US position, for when no key carries it).
    std::optional<QChar> character;
    QString text; // typed text, application, layout or screenshot name
    double seconds = 0;
    Point at;
    Point to;
    int space = 0;
    int repeat = 1;
};

struct ScriptParse {
    std::vector<ScriptStep> steps;
    std::optional<QString> error; // "line N: ..." for the first line that does not parse
};

// Reads a playground script: one step a line, '#' starts a comment.
//   alt+tab            press a chord (also "press alt+tab", "tab x3")
//   hold alt           keep modifiers down until "release alt"
//   type "text"        type text on the simulated Mac's layout
//   layout NAME        select a keyboard layout ("German", "French", "Dvorak-QWERTYCMD", ...)
//   wait 0.5           seconds
//   move X Y | click X Y | doubleclick X Y | drag X Y to X Y
//   mousedown X Y | mouseup X Y   the left button alone; a move while it is down is a drag
//   space N            switch to Space N
//   activate NAME      bring an application to the front
//   stick-secure-input NAME   the application keeps Secure Keyboard Entry on until it quits
//   second-display     connect the playground's second display, right of the built-in one
//   screenshot NAME    write the desktop as NAME.png
//   windowshot NAME    write the whole playground window (log pane included) as NAME.png
ScriptParse parsePlaygroundScript(const QString& text);

// The key code of a key name ("tab", "left", "f2", "a", "super"); modifiers have theirs too.
std::optional<uint16_t> scriptKeyCode(const QString& name);
bool isScriptModifier(uint16_t keyCode);

} // namespace fenwold
