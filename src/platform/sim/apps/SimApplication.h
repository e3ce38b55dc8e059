#pragma once

#include "platform/sim/SimSession.h"

#include <QImage>
#include <QStringList>

namespace fenwold {

// One key press as an application receives it.
struct AppKey {
    uint16_t keyCode = 0;
    uint64_t flags = 0;
    bool autorepeat = false;

    bool command() const;
    bool option() const;
    bool control() const;
    bool shift() const;
    // Command, Option and Control all up: the key types its character.
    bool plain() const;
};

// A simulated application of the playground session: it launches itself with its windows,
// reacts to the keys that reach it (typed by the user and passed by the tap, or posted by the
// program) and shows live content in its windows.
class SimApplication {
public:
    SimApplication(SimSession& session, const QString& bundleID, const QString& name);
    SimApplication(const SimApplication&) = delete;
    SimApplication& operator=(const SimApplication&) = delete;
    virtual ~SimApplication() = default;

    int32_t pid() const { return pid_; }
    const QString& name() const { return name_; }
    const QString& bundleID() const { return bundleID_; }
    bool running() const;

    // A key-down reached the application; its focused window (if any) is given.
    void keyDown(const AppKey& key);
    // What a window shows, line by line, and an optional picture under the lines.
    virtual QStringList content(uint32_t window) const = 0;
    virtual QImage picture(uint32_t) const { return {}; }
    // The element keyboard focus is on while the application is frontmost.
    virtual AXElement focusedElement() const { return focus_; }
    // The application came to the front or left it.
    virtual void frontChanged(bool) {}
    // Every key the application received, in words ("⌘C"), newest last.
    const QStringList& received() const { return received_; }

protected:
    // Application-specific keys; true when handled.
    virtual bool handleKey(std::optional<uint32_t> window, const AppKey& key) = 0;
    // A window of this application was opened or is gone.
    virtual void windowClosed(uint32_t) {}

    uint32_t openWindow(const QString& title, Rect frame);
    // A menu item with a key equivalent (its character, Command held), which does `action` when
    // pressed through Accessibility, as the application's own menu would.
    void addMenuItem(const QString& menu, const QString& title, const QString& character,
                     std::function<void()> action);
    std::optional<uint32_t> focusedWindow() const;
    void copyText(const QString& text) const;
    std::optional<QString> pastedText() const;
    void setFocusRole(const QString& role);
    // The letter a key gives with Command held, lower case, as key equivalents are matched (0 for
    // none), and the character it types.
    char16_t letter(const AppKey& key) const;
    std::optional<QChar> typed(const AppKey& key) const;

    SimSession& session_;

private:
    bool handleStandardKey(std::optional<uint32_t> window, const AppKey& key);

    QString bundleID_;
    QString name_;
    int32_t pid_ = 0;
    AXElement focus_;
    QStringList received_;
};

// A key in the words a person reads: modifier symbols then the key ("⌥⇥", "⌘C"); a key held with
// Command or Control named by its shortcut letter, any other by what it types.
QString describeKey(uint16_t keyCode, uint64_t flags, const SimKeyboardLayout& layout);

} // namespace fenwold
