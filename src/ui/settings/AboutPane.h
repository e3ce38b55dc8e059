#pragma once

#include "SettingsDeps.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace fenwold {

// The program's icon, name, version and build.
class AboutPane final : public QWidget {
public:
    explicit AboutPane(const SettingsDeps& deps, QWidget* parent = nullptr);
    QLabel* versionLabel() const { return version_; }
    // "Show the Welcome Window…"; null when the window was built without a way to show it.
    QPushButton* welcomeButton() const { return welcome_; }

private:
    QLabel* version_;
    QPushButton* welcome_ = nullptr;
};

// The application icon drawn by the program, for systems where the bundle carries none.
QImage drawnAppIcon(int size);

} // namespace fenwold
