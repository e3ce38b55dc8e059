#pragma once

#include "SimApplication.h"

namespace fenwold {

// A password manager: a list of logins and a master-password field; Command+C copies the
// selected password marked as concealed and transient, which clipboard histories are expected to
// leave out. Tab moves between the list and the field; while the field has the focus and the
// vault is in front it holds Secure Keyboard Entry, as a password field does.
class PasswordManagerApp final : public SimApplication {
public:
    struct Login {
        QString site;
        QString password;
    };
    explicit PasswordManagerApp(SimSession& session);

    uint32_t openVault(const std::vector<Login>& logins, Rect frame);
    QStringList content(uint32_t window) const override;
    void frontChanged(bool front) override;
    int selection() const { return selection_; }
    bool fieldFocused() const { return fieldFocused_; }
    const QString& masterPassword() const { return master_; }

protected:
    bool handleKey(std::optional<uint32_t> window, const AppKey& key) override;

private:
    void focusField(bool field);
    // Holds or lets go of Secure Keyboard Entry for the focused field of the front vault.
    void followFocus();

    std::vector<Login> logins_;
    int selection_ = 0;
    bool fieldFocused_ = false;
    bool front_ = false;
    bool holding_ = false;
    QString master_;
};

} // namespace fenwold
