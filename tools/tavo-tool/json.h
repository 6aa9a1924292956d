#pragma once
// A small JSON writer for tavo-tool's output. Text is written as JSON string
// literals, so that U+0000 and control characters are visible.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace tavo::tool {

// `text` as a JSON string literal, quotes included. Unpaired surrogates are
// written as \uXXXX escapes.
QString JsonString(const QString& text);

// Builds one JSON object, keys in insertion order:
//   JsonObject o; o.add("Width", 32).add("Text", text); PrintLine(o.str());
class JsonObject {
public:
    JsonObject& add(const QString& key, const QString& value);
    JsonObject& add(const QString& key, const char* value);
    JsonObject& add(const QString& key, long long value);
    JsonObject& add(const QString& key, int value) { return add(key, static_cast<long long>(value)); }
    JsonObject& add(const QString& key, unsigned value) { return add(key, static_cast<long long>(value)); }
    JsonObject& add(const QString& key, double value);
    JsonObject& addBool(const QString& key, bool value);
    JsonObject& addNull(const QString& key);
    JsonObject& addStrings(const QString& key, const QStringList& values);
    // `json` must already be valid JSON (a nested object or array).
    JsonObject& addRaw(const QString& key, const QString& json);
    QString str() const { return QStringLiteral("{") + body_ + QStringLiteral("}"); }

private:
    void key(const QString& k);
    QString body_;
};

// A JSON array of already-formatted values.
QString JsonArray(const QStringList& jsonValues);

}  // namespace tavo::tool
