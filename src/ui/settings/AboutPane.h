#pragma once

#include "SettingsDeps.h"

#include <QLabel>
#include <QWidget>

namespace fenwold {

// The program's icon, name, version and build.
class AboutPane final : public QWidget {
public:
    explicit AboutPane(const SettingsDeps& deps, QWidget* parent = nullptr);
    QLabel* versionLabel() const { return version_; }

private:
    QLabel* version_;
};

// The application icon drawn by the program, for systems where the bundle carries none.
QImage drawnAppIcon(int size);

} // namespace fenwold
