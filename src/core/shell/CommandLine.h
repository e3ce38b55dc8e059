#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>

namespace fenwold {

// The one mode an invocation runs, found by scanning the switches in their fixed order.
struct CommandLineMode {
    enum class Kind {
        tcc,
        checkUpdates,
        verifyWindow,
        windowCaptureSelfcheck,
        windowStoreSelfcheck,
        altF4Selfcheck,
        selfcheck,
        clipboardSelfcheck,
        watch,
        menus,
        snap,
        dump,
        normal,
    };
    Kind kind = Kind::normal;
    uint32_t windowID = 0;                // verifyWindow
    std::optional<uint32_t> fromWindowID; // verifyWindow's "--from-window"
    bool fromWindowInvalid = false;       // "--from-window" given without a window id after it
    std::optional<QString> previewOutput; // verifyWindow's "--preview-output"
    std::optional<QString> name;          // menus: only this application
    QString snapPosition;                 // snap
    QString snapApp;                      // snap
};

// Switches read during a normal start.
struct StartupOptions {
    bool clipboardPreview = false;
    bool clipboardLight = false;
    bool clipboardDark = false;
    bool hint = false;
    bool settings = false;
    std::optional<int> tab;
};

// Whole-argument matching anywhere in the list (the program's name included); a switch's value
// is the argument right after it. A switch whose value is missing or malformed is ignored.
CommandLineMode parseMode(const QStringList& arguments);
StartupOptions parseStartupOptions(const QStringList& arguments);

// A switch the program reads: its name, the values after it ("N", "POSITION APP"; one in brackets
// is optional) and one line of help.
struct CommandLineSwitch {
    const char* name;
    const char* values;
    const char* help;
};

// Every switch, in the usage's order.
std::span<const CommandLineSwitch> commandLineSwitches();

// "Usage: …" followed by one line per switch.
QString usage();

// The first argument after the program's name that is written as a switch ("--…") but is none of
// the table, skipping the values a switch takes. Qt's own options take one dash and pass.
std::optional<QString> unknownSwitch(const QStringList& arguments);

// An unsigned 32-bit decimal number with an optional leading "+".
std::optional<uint32_t> parseWindowID(const QString& text);

} // namespace fenwold
