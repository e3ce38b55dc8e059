#include "PasswordManagerApp.h"

#include "ports/KeyCodes.h"

namespace fenwold {

PasswordManagerApp::PasswordManagerApp(SimSession& session)
    : SimApplication(session, "org.fenwold.sim.Vault", "Vault") {}

uint32_t PasswordManagerApp::openVault(const std::vector<Login>& logins, Rect frame) {
    logins_ = logins;
    return openWindow(QStringLiteral("Vault"), frame);
}

QStringList PasswordManagerApp::content(uint32_t) const {
    QStringList lines;
    lines << QStringLiteral("Master password: [%1%2]")
                 .arg(QString(master_.size(), QChar(0x2022)),
                      fieldFocused_ ? QString(QChar(0x2502)) : QString())
          << QString();
    for (int i = 0; i < static_cast<int>(logins_.size()); ++i)
        lines << QStringLiteral("%1%2   \u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022")
                     .arg(i == selection_ ? QStringLiteral("\u25B6 ") : QStringLiteral("   "),
                          logins_[i].site);
    lines << QString() << QStringLiteral("\u2318C copies the password, Tab moves to the field");
    return lines;
}

void PasswordManagerApp::frontChanged(bool front) {
    front_ = front;
    followFocus();
}

void PasswordManagerApp::focusField(bool field) {
    fieldFocused_ = field;
    setFocusRole(field ? QStringLiteral("AXSecureTextField") : QStringLiteral("AXList"));
    followFocus();
}

void PasswordManagerApp::followFocus() {
    const bool hold = front_ && fieldFocused_;
    if (hold == holding_) return;
    holding_ = hold;
    if (hold)
        session_.secureInput.enable(pid());
    else
        session_.secureInput.disable(pid());
}

bool PasswordManagerApp::handleKey(std::optional<uint32_t> window, const AppKey& key) {
    if (!window || logins_.empty()) return false;
    if (key.plain() && key.keyCode == kTab) {
        focusField(!fieldFocused_);
        return true;
    }
    if (fieldFocused_) {
        if (key.plain() && key.keyCode == kDelete) {
            master_.chop(1);
            return true;
        }
        if (const auto c = key.plain() ? typed(key) : std::nullopt) {
            master_ += *c;
            return true;
        }
    }
    if (key.plain() && (key.keyCode == kUp || key.keyCode == kDown)) {
        selection_ =
            std::clamp(selection_ + (key.keyCode == kUp ? -1 : 1), 0, static_cast<int>(logins_.size()) - 1);
        return true;
    }
    if (key.command() && !key.control() && letter(key) == u'c') {
        session_.pasteboard.write({PasteboardItem{{
            {QStringLiteral("public.utf8-plain-text"), logins_[selection_].password.toUtf8()},
            {QStringLiteral("org.nspasteboard.ConcealedType"), QByteArray()},
            {QStringLiteral("org.nspasteboard.TransientType"), QByteArray()},
        }}});
        return true;
    }
    return false;
}

} // namespace fenwold
