#pragma once

#include <QGuiApplication>
#include <memory>

namespace fenwold {

// Simulated windows draw their content with Qt's painter, which needs an application object.
class GuiScope {
public:
    GuiScope() {
        if (QCoreApplication::instance()) return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }

private:
    int argc_ = 1;
    char name_[16] = "fenwold-bench";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

} // namespace fenwold
