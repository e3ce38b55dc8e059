#include "PinsFile.h"

#include "DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <nlohmann/json.hpp>

namespace fenwold::PinsFile {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

constexpr int kMaxRecords = 20;

std::string toStd(const QString& text) {
    return text.toStdString();
}
QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// 8-4-4-4-12 hexadecimal digits, nothing around them.
std::optional<QUuid> parseUuid(const std::string& text) {
    if (text.size() != 36) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : !isHex(text[i])) return std::nullopt;
    }
    return QUuid::fromString(QLatin1String(text.data(), static_cast<qsizetype>(text.size())));
}

// Strict standard Base64: the RFC 4648 alphabet, padded to a multiple of four, no line breaks.
std::optional<QByteArray> parseBase64(const std::string& text) {
    if (text.size() % 4 != 0) return std::nullopt;
    auto result = QByteArray::fromBase64Encoding(QByteArray::fromStdString(text),
                                                 QByteArray::AbortOnBase64DecodingErrors);
    if (!result) return std::nullopt;
    return std::move(result.decoded);
}

std::optional<SavedClip> decodeRecord(const json& record) {
    if (!record.is_object()) return std::nullopt;
    const auto id = record.find("id");
    const auto payload = record.find("payload");
    const auto source = record.find("source");
    const auto copiedAt = record.find("copiedAt");
    if (id == record.end() || !id->is_string() || payload == record.end() || !payload->is_object() ||
        source == record.end() || !source->is_string() || copiedAt == record.end() || !copiedAt->is_number())
        return std::nullopt;

    SavedClip clip;
    const auto uuid = parseUuid(id->get<std::string>());
    if (!uuid) return std::nullopt;
    clip.id = *uuid;
    clip.source = fromStd(source->get<std::string>());
    clip.copiedAt = copiedAt->get<double>();
    if (const auto sourceID = record.find("sourceID"); sourceID != record.end() && !sourceID->is_null()) {
        if (!sourceID->is_string()) return std::nullopt;
        clip.sourceID = fromStd(sourceID->get<std::string>());
    }

    const auto items = payload->find("items");
    if (items == payload->end() || !items->is_array()) return std::nullopt;
    for (const auto& item : *items) {
        if (!item.is_object()) return std::nullopt;
        PasteboardItem decoded;
        for (const auto& [type, value] : item.items()) {
            if (!value.is_string()) return std::nullopt;
            auto bytes = parseBase64(value.get<std::string>());
            if (!bytes) return std::nullopt;
            decoded.types.emplace_back(fromStd(type), std::move(*bytes));
        }
        clip.payload.items.push_back(std::move(decoded));
    }
    return clip;
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

std::optional<std::vector<SavedClip>> decode(const QByteArray& data) {
    const json document = json::parse(data.constBegin(), data.constEnd(), nullptr, false);
    if (document.is_discarded() || !document.is_array()) return std::nullopt;
    std::vector<SavedClip> clips;
    clips.reserve(document.size());
    for (const auto& record : document) {
        auto clip = decodeRecord(record);
        if (!clip) return std::nullopt;
        clips.push_back(std::move(*clip));
    }
    return clips;
}

LoadResult load(const QString& path) {
    LoadResult result;
    const QFileInfo info(path);
    if (!info.exists()) return result;
    QFile file(path);
    if (info.size() > ClipLimits::maxPinsFileBytes || !file.open(QIODevice::ReadOnly)) {
        result.failed = true;
        return result;
    }
    // One byte past the size read, to notice a file that grew meanwhile; never a buffer of the
    // whole cap for a small file.
    const QByteArray data = file.read(std::min(info.size(), ClipLimits::maxPinsFileBytes) + 1);
    auto clips = data.size() > ClipLimits::maxPinsFileBytes ? std::nullopt : decode(data);
    if (!clips) {
        result.failed = true;
        return result;
    }
    qint64 total = 0;
    const int count = std::min<int>(kMaxRecords, static_cast<int>(clips->size()));
    for (int i = 0; i < count; ++i) {
        auto& clip = (*clips)[static_cast<std::size_t>(i)];
        const qint64 bytes = clip.payload.byteCount();
        total += bytes;
        if (total > ClipLimits::maxPinnedBytes) break; // every later record would exceed it too
        result.entries.emplace_back(std::move(clip), true);
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
