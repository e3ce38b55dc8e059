#pragma once

#include "core/diagnostics/PlaygroundScript.h"

#include <QDir>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <functional>

namespace fenwold {

class PlaygroundSession;

// Plays a parsed script against a playground session. On the virtual clock the whole script runs
// at once, time passing only as the script says; on the real clock steps follow each other on
// Qt's event loop. Screenshots are PNG files of the desktop in the given folder.
class ScriptRunner {
public:
    ScriptRunner(PlaygroundSession& playground, QDir screenshots);

    // Virtual clock: runs to the end before returning. Real clock: starts; `onFinished` ends it.
    void run(std::vector<ScriptStep> steps);
    std::function<void(bool ok)> onFinished;
    // The whole playground window as an image, for "windowshot"; none without a window.
    std::function<QImage()> grabWindow;

    // Files written so far, and problems met (a screenshot that could not be saved...).
    const QStringList& screenshots() const { return written_; }
    const QStringList& problems() const { return problems_; }
    // Time a step takes on the virtual clock when the script does not wait.
    static constexpr double kStepSeconds = 0.05;

private:
    void perform(const ScriptStep& step);
    // Virtual clock: plays the next steps until the script ends or `done` answers true.
    void playOn(const std::function<bool()>& done);
    // Let go of the keys the current chord still holds.
    void releaseHeld();
    void next();
    void type(const QString& text);
    // The key a press step presses on the layout selected now.
    uint16_t pressedKey(const ScriptStep& step);
    void save(const ScriptStep& step, const QImage& image);

    PlaygroundSession& playground_;
    QDir screenshots_;
    std::vector<ScriptStep> steps_;
    std::size_t position_ = 0;
    std::vector<uint16_t> held_;
    QStringList written_;
    QStringList problems_;
    QObject context_;
};

} // namespace fenwold
