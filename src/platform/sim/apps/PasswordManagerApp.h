#pragma once

#include "SimApplication.h"

namespace fenwold {

// A password manager: a list of logins; Command+C copies the selected password marked as
// concealed and transient, which clipboard histories are expected to leave out.
class PasswordManagerApp final : public SimApplication {
public:
    struct Login {
        QString site;
        QString password;
    };
    explicit PasswordManagerApp(SimSession& session);

    uint32_t openVault(const std::vector<Login>& logins, Rect frame);
    QStringList content(uint32_t window) const override;
    int selection() const { return selection_; }

protected:
    bool handleKey(std::optional<uint32_t> window, const AppKey& key) override;

private:
    std::vector<Login> logins_;
    int selection_ = 0;
};

} // namespace fenwold
