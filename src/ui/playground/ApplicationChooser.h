#pragma once

#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

namespace fenwold {

struct ApplicationBundle;

// The simulated Mac's file chooser for an application: the bundles in its Applications folder,
// with "Cancel" and "Add". The choice (an empty location for Cancel) goes to the one who asked.
class ApplicationChooser final : public QWidget {
public:
    ApplicationChooser();

    // Fill the list and wait for a choice; a chooser still open answers Cancel first.
    void ask(const std::vector<std::pair<QUrl, ApplicationBundle>>& bundles,
             std::function<void(const QUrl&)> chosen);
    QListWidget* list() const { return list_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* cancelButton() const { return cancel_; }
    // Told once the chooser has answered and hidden itself.
    std::function<void()> onDone;

private:
    void answer(const QUrl& url);

    QListWidget* list_;
    QPushButton* cancel_;
    QPushButton* add_;
    std::function<void(const QUrl&)> chosen_;
};

} // namespace fenwold
