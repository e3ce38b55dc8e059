#pragma once

#include "ports/Pasteboard.h"

#include <mutex>
#include <optional>

namespace fenwold {

// The simulated general pasteboard: every write bumps the change count.
class SimPasteboard final : public Pasteboard {
public:
    long changeCount() const override;
    std::vector<PasteboardTypes> itemTypes() const override;
    QByteArray data(std::size_t index, const QString& type) const override;
    bool write(const std::vector<PasteboardItem>& items) override;

    // The whole contents, as another application pasting sees them (not counted as reads).
    std::vector<PasteboardItem> contents() const;

    // What another application copying does: replace the contents.
    void copy(const std::vector<PasteboardItem>& items);
    void copyText(const QString& text);
    // Make the next writes fail (a pasteboard that refuses data).
    void setWritesFail(bool fail);
    // One fetch of a type's bytes by the program.
    struct DataRead {
        std::size_t index = 0;
        QString type;
        friend bool operator==(const DataRead&, const DataRead&) = default;
    };
    // How often the types were listed, and every data fetch in order (reading contents can alert
    // the user on recent systems, and makes the copying application render the format).
    int typeListings() const;
    std::vector<DataRead> dataReads() const;
    // Another application copies these items right after the next listing of types (a copy
    // racing the reader).
    void copyDuringNextRead(const std::vector<PasteboardItem>& items);

private:
    mutable std::mutex mutex_;
    // Mutable so a racing copy can land during a read.
    mutable std::vector<PasteboardItem> items_;
    mutable long changeCount_ = 1;
    bool writesFail_ = false;
    mutable int listings_ = 0;
    mutable std::vector<DataRead> dataReads_;
    mutable std::optional<std::vector<PasteboardItem>> racingCopy_;
};

} // namespace fenwold
