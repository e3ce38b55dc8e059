#pragma once

#include "core/shell/Welcome.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>

namespace fenwold {

// The first-run welcome, a regular window like the settings: what the program does, each
// permission with its state and a button to its pane, the Windows-key choice and the green
// button's beside it, the login item and "Continue".
// Whoever shows it tells the welcome it opened; hiding it, by either button, closes the welcome.
class WelcomeWindow final : public QWidget {
public:
    explicit WelcomeWindow(Welcome& welcome, const QImage& appIcon = {}, QWidget* parent = nullptr);

    // Reads the permissions and the choice again.
    void refresh();
    QLabel* status(Permission p) const { return status_[index(p)]; }
    QPushButton* paneButton(Permission p) const { return buttons_[index(p)]; }
    QCheckBox* winKeys() const { return winKeys_; }
    QLabel* winKeysLabel() const { return choiceLabel_; }
    QCheckBox* greenButton() const { return greenButton_; }
    QLabel* greenButtonLabel() const { return greenButtonLabel_; }
    QCheckBox* loginItem() const { return loginItem_; }
    QPushButton* continueButton() const { return continue_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    static std::size_t index(Permission p) { return static_cast<std::size_t>(p); }

    Welcome& welcome_;
    std::array<QLabel*, 2> status_{};
    std::array<QPushButton*, 2> buttons_{};
    QCheckBox* winKeys_ = nullptr;
    QLabel* choiceLabel_ = nullptr;
    QCheckBox* greenButton_ = nullptr;
    QLabel* greenButtonLabel_ = nullptr;
    QCheckBox* loginItem_ = nullptr;
    QPushButton* continue_ = nullptr;
};

} // namespace fenwold
