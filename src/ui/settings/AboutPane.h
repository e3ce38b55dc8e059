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
// The largest image of an icon file (an .icns holds one per size, the smallest first); null when
// there is none.
QImage largestImage(const QString& iconFile);

} // namespace fenwold
