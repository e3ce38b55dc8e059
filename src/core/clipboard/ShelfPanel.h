#pragma once

#include "ports/Geometry.h"
#include "ports/Subscription.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace fenwold {

// A key-down as the shelf sees it.
struct ShelfKeyEvent {
    uint16_t keyCode = 0;
    uint64_t flags = 0; // the platform's modifier flag word
    QString characters;
    bool isRepeat = false;
};

enum class SearchEdit { selectAll, cut, copy, paste };

// The shelf's search field, as the controller drives it.
class ShelfSearchField {
public:
    ShelfSearchField() = default;
    ShelfSearchField(const ShelfSearchField&) = delete;
    ShelfSearchField& operator=(const ShelfSearchField&) = delete;
    virtual ~ShelfSearchField() = default;

    // Take keyboard focus, selecting all text or putting the caret at the end.
    virtual void focus(bool selectAll) = 0;
    // Type a key into the field's editor.
    virtual void deliver(const ShelfKeyEvent& event) = 0;
    // Select all, cut, copy or paste in the field.
    virtual void perform(SearchEdit edit) = 0;
};

// The floating, non-activating window that holds the shelf, with the keys typed into it.
// Frames are in screen coordinates.
class ShelfPanel {
public:
    ShelfPanel() = default;
    ShelfPanel(const ShelfPanel&) = delete;
    ShelfPanel& operator=(const ShelfPanel&) = delete;
    virtual ~ShelfPanel() = default;

    // Move and fade at once, without animation.
    virtual void place(const Rect& frame, double alpha) = 0;
    // Animate to a frame and alpha; ease-out or ease-in; the completion runs when it ends.
    virtual void animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                         std::function<void()> completion) = 0;
    // Take the keys and come to the front without activating the program.
    virtual void makeKeyAndOrderFront() = 0;
    // Give up the keyboard focus of the panel's content (the panel itself is ordered out later).
    virtual void resignKey() = 0;
    virtual void orderOut() = 0;
    virtual bool isKeyWindow() const = 0;
    // Take the keyboard focus off the search field, keeping it in the panel.
    virtual void clearFirstResponder() = 0;
    // Left and right mouse-downs anywhere; the handler learns whether they landed in the panel.
    virtual Subscription monitorClicks(std::function<void(bool inPanel)> handler) = 0;
    // True while a text editor (the search field) is the first responder.
    virtual bool editingText() const = 0;
    // Key-downs while the panel is key; the handler answers true to swallow the key.
    virtual Subscription monitorKeys(std::function<bool(const ShelfKeyEvent&)> handler) = 0;
};

// Types Command+V into one process (the shelf's paste).
class PasteKeystroke {
public:
    PasteKeystroke() = default;
    PasteKeystroke(const PasteKeystroke&) = delete;
    PasteKeystroke& operator=(const PasteKeystroke&) = delete;
    virtual ~PasteKeystroke() = default;

    virtual void paste(int32_t pid) = 0;
};

} // namespace fenwold
