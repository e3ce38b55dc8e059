#pragma once

// The whole program against the visible simulated Mac on the virtual clock, started and shown
// offscreen, with a way to play scripts (shipped or inline) against it.
#include "core/diagnostics/PlaygroundScript.h"
#include "ui/playground/PlaygroundSession.h"
#include "ui/playground/ScriptRunner.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace fenwold {

struct Playground : ::testing::Test {
    SimSession sim;
    std::unique_ptr<PlaygroundSession> pg;
    QTemporaryDir shots;

    void SetUp() override {
        pg = std::make_unique<PlaygroundSession>(sim, sim.platform(), StartupOptions{}, true);
        pg->start();
        // Panels are child widgets of the screen: they show only while it does.
        pg->desktop().show();
    }
    std::vector<ScriptStep> parse(const QString& text) {
        const ScriptParse parse = parsePlaygroundScript(text);
        EXPECT_FALSE(parse.error) << parse.error->toStdString();
        return parse.steps;
    }
    // Runs a shipped script; false when it cannot be read, does not parse or a step failed.
    bool runShipped(const QString& name) {
        QFile file(QStringLiteral(FENWOLD_SOURCE_DIR "/scripts/playground/") + name);
        if (!file.open(QIODevice::ReadOnly)) return false;
        return run(QString::fromUtf8(file.readAll()));
    }
    bool run(const QString& text) {
        const ScriptParse parse = parsePlaygroundScript(text);
        if (parse.error) {
            ADD_FAILURE() << parse.error->toStdString();
            return false;
        }
        ScriptRunner runner(*pg, QDir(shots.path()));
        bool finished = false, ok = false;
        runner.onFinished = [&](bool success) { finished = true, ok = success; };
        runner.run(parse.steps);
        for (const QString& p : runner.problems())
            ADD_FAILURE() << p.toStdString();
        return finished && ok;
    }
    uint32_t focused(SimApplication& app) const { return *sim.windows.focusedWindow(app.pid()); }
    int32_t frontPid() const { return sim.workspace.frontmostApp()->pid; }
    QString pasteboardText() const {
        for (const auto& item : sim.pasteboard.contents())
            for (const auto& [type, bytes] : item.types)
                if (type == "public.utf8-plain-text") return QString::fromUtf8(bytes);
        return {};
    }
    static bool isGray(QRgb c, int min) { return qRed(c) >= min && qGreen(c) >= min && qBlue(c) >= min; }
};

// How many pixels of a region differ between two images of the same size.
inline int changedPixels(const QImage& a, const QImage& b, const QRect& region) {
    int changed = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            changed += a.pixel(x, y) != b.pixel(x, y);
    return changed;
}

} // namespace fenwold
