#include "ScriptRunner.h"

#include "PlaygroundSession.h"
#include "ports/KeyCodes.h"

#include <QTimer>
#include <algorithm>

namespace fenwold {

namespace {
constexpr int kRealStepMs = 60;
} // namespace

ScriptRunner::ScriptRunner(PlaygroundSession& playground, QDir screenshots)
    : playground_(playground), screenshots_(std::move(screenshots)) {}

void ScriptRunner::run(std::vector<ScriptStep> steps) {
    steps_ = std::move(steps);
    position_ = 0;
    if (!playground_.virtualClock()) {
        next();
        return;
    }
    // A menu the program tracks blocks inside a step until it closes; the script plays on from
    // there, and this loop carries on after the steps played meanwhile.
    playground_.modalDriver = [this](const std::function<bool()>& done) { playOn(done); };
    playOn([] { return false; });
    playground_.modalDriver = nullptr;
    if (onFinished) onFinished(problems_.isEmpty());
}

void ScriptRunner::releaseHeld() {
    SimHardware& hw = playground_.hardware();
    while (!held_.empty()) {
        const uint16_t key = held_.back();
        held_.pop_back();
        hw.keyUp(key);
    }
}

void ScriptRunner::playOn(const std::function<bool()>& done) {
    // The chord that opened a modal loop is released first, as the hand lets go of it.
    releaseHeld();
    playground_.settle();
    while (position_ < steps_.size() && !done()) {
        const ScriptStep& step = steps_[position_++];
        perform(step);
        playground_.advance(step.kind == ScriptStep::Kind::wait ? step.seconds : kStepSeconds);
    }
}

void ScriptRunner::next() {
    if (position_ >= steps_.size()) {
        if (onFinished) onFinished(problems_.isEmpty());
        return;
    }
    const ScriptStep& step = steps_[position_++];
    perform(step);
    playground_.settle();
    const int delay = step.kind == ScriptStep::Kind::wait ? qRound(step.seconds * 1000) : kRealStepMs;
    QTimer::singleShot(delay, &context_, [this] { next(); });
}

void ScriptRunner::type(const QString& text) {
    SimHardware& hw = playground_.hardware();
    const SimKeyboardLayout& layout = playground_.session().keyboardLayout;
    for (const QChar c : text) {
        const auto key = layout.keyTyping(c);
        if (!key) {
            problems_
                << QStringLiteral("cannot type \"%1\" on the %2 layout").arg(c).arg(layout.typing().name);
            continue;
        }
        if (key->shift) hw.keyDown(kShift);
        hw.tap(key->keyCode);
        if (key->shift) hw.keyUp(kShift);
        playground_.settle();
    }
}

void ScriptRunner::save(const ScriptStep& step, const QImage& image) {
    screenshots_.mkpath(QStringLiteral("."));
    const QString path = screenshots_.filePath(step.text + QStringLiteral(".png"));
    if (image.save(path, "PNG")) {
        written_ << path;
        playground_.log().note(QStringLiteral("screenshot written to %1").arg(path));
    } else {
        problems_ << QStringLiteral("line %1: could not write %2").arg(step.line).arg(path);
    }
}

uint16_t ScriptRunner::pressedKey(const ScriptStep& step) {
    if (!step.character) return *step.key;
    // A shortcut's letter is found where the layout's shortcuts read it, a typed one where it is
    // typed; only the key counts, Shift is the chord's.
    const SimKeyboardLayout& layout = playground_.session().keyboardLayout;
    const bool shortcut = std::any_of(step.modifiers.begin(), step.modifiers.end(),
                                      [](uint16_t m) { return m == kCommand || m == kControl; });
    if (const auto key =
            shortcut ? layout.keyForShortcut(*step.character) : layout.keyTyping(*step.character))
        return key->keyCode;
    problems_ << QStringLiteral("line %1: no key carries \"%2\" on the %3 layout")
                     .arg(step.line)
                     .arg(*step.character)
                     .arg(layout.typing().name);
    return *step.key;
}

void ScriptRunner::perform(const ScriptStep& step) {
    SimHardware& hw = playground_.hardware();
    DesktopView& desktop = playground_.desktop();
    const QPoint at(qRound(step.at.x), qRound(step.at.y));
    // Previews show what the windows show now.
    desktop.refreshWindowImages();
    using K = ScriptStep::Kind;
    switch (step.kind) {
    case K::press:
        held_.assign(step.modifiers.begin(), step.modifiers.end());
        for (uint16_t m : step.modifiers)
            hw.keyDown(m);
        for (int i = 0; i < step.repeat && step.key; ++i) {
            const uint16_t key = pressedKey(step);
            hw.keyDown(key);
            held_.push_back(key);
            playground_.settle();
            // A modal loop that opened meanwhile has let go of the chord already.
            if (!held_.empty() && held_.back() == key) {
                held_.pop_back();
                hw.keyUp(key);
            }
            playground_.settle();
        }
        releaseHeld();
        break;
    case K::hold:
        for (uint16_t m : step.modifiers)
            hw.keyDown(m);
        break;
    case K::release:
        for (uint16_t m : step.modifiers)
            hw.keyUp(m);
        break;
    case K::type:
        type(step.text);
        break;
    case K::wait:
        break;
    case K::move:
        desktop.pointerMove(at);
        break;
    case K::click:
        desktop.pointerMove(at);
        desktop.pointerDown(at, 1);
        desktop.pointerUp(at, 1);
        break;
    case K::doubleClick:
        desktop.pointerMove(at);
        desktop.pointerDown(at, 1);
        desktop.pointerUp(at, 1);
        desktop.pointerDown(at, 2);
        desktop.pointerUp(at, 2);
        break;
    case K::mouseDown:
        desktop.pointerMove(at);
        desktop.pointerDown(at, 1);
        break;
    case K::mouseUp:
        desktop.pointerMove(at);
        desktop.pointerUp(at, 1);
        break;
    case K::drag: {
        const QPoint to(qRound(step.to.x), qRound(step.to.y));
        desktop.pointerMove(at);
        desktop.pointerDown(at, 1);
        for (int i = 1; i <= 8; ++i)
            desktop.pointerMove(at + (to - at) * i / 8);
        desktop.pointerUp(to, 1);
        break;
    }
    case K::space:
        playground_.session().windows.switchToSpace(step.space);
        break;
    case K::secondDisplay:
        if (playground_.session().screens.screens().size() < 2) {
            PlaygroundSession::connectSecondDisplay(playground_.session());
            desktop.displaysChanged();
        }
        break;
    case K::activate:
    case K::stickSecureInput: {
        SimApplication* found = nullptr;
        for (SimApplication* app : playground_.apps().all())
            if (app->name().compare(step.text, Qt::CaseInsensitive) == 0) found = app;
        if (!found) {
            problems_
                << QStringLiteral("line %1: no application called \"%2\"").arg(step.line).arg(step.text);
            break;
        }
        SimSession& s = playground_.session();
        if (step.kind == K::stickSecureInput) {
            s.secureInput.stick(found->pid());
            break;
        }
        if (const auto w = s.windows.focusedWindow(found->pid())) s.windows.raise(*w);
        s.workspace.activate(found->pid());
        break;
    }
    case K::layout:
        if (!playground_.session().keyboardLayout.select(step.text))
            problems_
                << QStringLiteral("line %1: no keyboard layout called \"%2\"").arg(step.line).arg(step.text);
        break;
    case K::screenshot:
        playground_.settle();
        save(step, desktop.snapshot());
        break;
    case K::windowShot:
        playground_.settle();
        if (grabWindow)
            save(step, grabWindow());
        else
            problems_ << QStringLiteral("line %1: there is no playground window to take").arg(step.line);
        break;
    }
    desktop.update();
}

} // namespace fenwold
