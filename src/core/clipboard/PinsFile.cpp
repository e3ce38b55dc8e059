#include "PinsFile.h"

#include "Base64.h"
#include "DurableFile.h"
#include "JsonReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <nlohmann/json.hpp>

namespace fenwold::PinsFile {

namespace {

using nlohmann::ordered_json;

constexpr std::size_t kMaxRecords = 20;

std::string toStd(const QString& text) {
    return text.toStdString();
}
QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// 8-4-4-4-12 hexadecimal digits, nothing around them.
std::optional<QUuid> parseUuid(std::string_view text) {
    if (text.size() != 36) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : !isHex(text[i])) return std::nullopt;
    }
    return QUuid::fromString(QLatin1String(text.data(), static_cast<qsizetype>(text.size())));
}

// {"items": [{type: Base64, ...}, ...]}; other keys are ignored.
bool readPayload(JsonReader& json, ClipPayload& payload) {
    if (!json.enterObject()) return false;
    bool haveItems = false;
    std::string_view name;
    while (json.more()) {
        if (!json.key(name)) return false;
        if (name != "items") {
            if (!json.skip()) return false;
            continue;
        }
        haveItems = true;
        payload.items.clear();
        if (!json.enterArray()) return false;
        while (json.more()) {
            if (!json.enterObject()) return false;
            PasteboardItem item;
            while (json.more()) {
                std::string_view type;
                if (!json.key(type)) return false;
                const QString typeName = fromUtf8(type);
                // Base64 straight from the file, where nothing in the value is escaped: the
                // alphabet holds no character JSON would need to check.
                std::optional<QByteArray> bytes;
                const auto decode = [&](std::string_view text) { return bool(bytes = Base64::decode(text)); };
                std::string_view value;
                if (!json.plainString(decode) && !(json.string(value) && decode(value))) return false;
                // A repeated type keeps its last value, as a JSON object would.
                auto same = std::find_if(item.types.begin(), item.types.end(),
                                         [&](const auto& entry) { return entry.first == typeName; });
                if (same != item.types.end())
                    same->second = std::move(*bytes);
                else
                    item.types.emplace_back(typeName, std::move(*bytes));
            }
            payload.items.push_back(std::move(item));
        }
    }
    return !json.failed() && haveItems;
}

std::optional<SavedClip> readRecord(JsonReader& json) {
    if (!json.enterObject()) return std::nullopt;
    SavedClip clip;
    bool haveID = false, havePayload = false, haveSource = false, haveCopiedAt = false;
    std::string_view name;
    std::string_view text;
    while (json.more()) {
        if (!json.key(name)) return std::nullopt;
        if (name == "id") {
            if (!json.string(text)) return std::nullopt;
            const auto uuid = parseUuid(text);
            if (!uuid) return std::nullopt;
            clip.id = *uuid;
            haveID = true;
        } else if (name == "payload") {
            clip.payload = {};
            if (!readPayload(json, clip.payload)) return std::nullopt;
            havePayload = true;
        } else if (name == "source") {
            if (!json.string(text)) return std::nullopt;
            clip.source = fromUtf8(text);
            haveSource = true;
        } else if (name == "sourceID") {
            // Optional, but a string when present: null is a wrong type like any other.
            if (!json.string(text)) return std::nullopt;
            clip.sourceID = fromUtf8(text);
        } else if (name == "copiedAt") {
            if (!json.number(clip.copiedAt)) return std::nullopt;
            haveCopiedAt = true;
        } else if (!json.skip()) {
            return std::nullopt;
        }
    }
    if (json.failed() || !haveID || !havePayload || !haveSource || !haveCopiedAt) return std::nullopt;
    return clip;
}

// Reads the records in order, handing each over as soon as it is read; false when the document or
// any record is malformed.
template <typename Take>
bool readRecords(QByteArrayView data, Take take) {
    JsonReader json(std::string_view(data.data(), static_cast<std::size_t>(data.size())));
    if (!json.enterArray()) return false;
    while (json.more()) {
        auto clip = readRecord(json);
        if (!clip) return false;
        take(std::move(*clip));
    }
    return json.finish();
}

} // namespace

QByteArray encode(const std::vector<SavedClip>& clips) {
    ordered_json array = ordered_json::array();
    for (const auto& clip : clips) {
        ordered_json items = ordered_json::array();
        for (const auto& item : clip.payload.items) {
            ordered_json types = ordered_json::object();
            for (const auto& [type, bytes] : item.types)
                types[toStd(type)] = bytes.toBase64().toStdString();
            items.push_back(std::move(types));
        }
        ordered_json record = ordered_json::object();
        record["id"] = toStd(clip.id.toString(QUuid::WithoutBraces).toUpper());
        record["payload"] = ordered_json{{"items", std::move(items)}};
        record["source"] = toStd(clip.source);
        if (clip.sourceID) record["sourceID"] = toStd(*clip.sourceID);
        record["copiedAt"] = clip.copiedAt;
        array.push_back(std::move(record));
    }
    return QByteArray::fromStdString(array.dump());
}

std::optional<std::vector<SavedClip>> decode(QByteArrayView data) {
    std::vector<SavedClip> clips;
    if (!readRecords(data, [&](SavedClip&& clip) { clips.push_back(std::move(clip)); })) return std::nullopt;
    return clips;
}

LoadResult load(const QString& path) {
    LoadResult result;
    const QFileInfo info(path);
    if (!info.exists()) return result;
    QFile file(path);
    const qint64 size = info.size();
    if (size > ClipLimits::maxPinsFileBytes || !file.open(QIODevice::ReadOnly)) {
        result.failed = true;
        return result;
    }
    // Mapped rather than read: the parser takes its strings in place, so the file's bytes are
    // never copied. A file that cannot be mapped is read instead.
    QByteArray read;
    QByteArrayView data;
    if (size == 0) {
        data = QByteArrayView("", 0);
    } else if (const uchar* mapped = file.map(0, size)) {
        data = QByteArrayView(mapped, size);
    } else {
        read = file.read(size);
        data = read;
    }
    // Each row is made as soon as its record is read, while the record's bytes are still in the
    // processor's caches: hashing and inspecting megabytes read back from memory costs more than
    // the work itself. Records past the bounds are still read, so a malformed one fails the file.
    qint64 total = 0;
    bool full = false;
    const auto take = [&](SavedClip&& clip) {
        if (full || result.entries.size() == kMaxRecords) return;
        total += clip.payload.byteCount();
        full = total > ClipLimits::maxPinnedBytes; // every later record would exceed it too
        if (!full) result.entries.emplace_back(std::move(clip), true);
    };
    if (data.size() != size || !readRecords(data, take)) {
        result.entries.clear();
        result.failed = true;
    }
    return result;
}

bool save(const QString& path, const std::vector<SavedClip>& clips) {
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder)) return false;
        if (!QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
    }
    // Written private (0600) and whole: a crash leaves the old pins or the new ones.
    return replaceFileDurably(path, encode(clips));
}

} // namespace fenwold::PinsFile
