#include "json.h"

#include <cmath>

namespace tavo::tool {

QString JsonString(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out.append(QLatin1Char('"'));
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
            case u'"': out.append(QLatin1String("\\\"")); continue;
            case u'\\': out.append(QLatin1String("\\\\")); continue;
            case u'\n': out.append(QLatin1String("\\n")); continue;
            case u'\r': out.append(QLatin1String("\\r")); continue;
            case u'\t': out.append(QLatin1String("\\t")); continue;
            default: break;
        }
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < n && text[i + 1].isLowSurrogate()) {
            out.append(text[i]);
            out.append(text[i + 1]);
            ++i;
        } else if (c < 0x20 || c == 0x7F || high || low) {
            out.append(QStringLiteral("\\u%1").arg(static_cast<unsigned>(c), 4, 16, QLatin1Char('0')));
        } else {
            out.append(text[i]);
        }
    }
    out.append(QLatin1Char('"'));
    return out;
}

void JsonObject::key(const QString& k) {
    if (!body_.isEmpty()) body_.append(QLatin1Char(','));
    body_.append(JsonString(k));
    body_.append(QLatin1Char(':'));
}

JsonObject& JsonObject::add(const QString& k, const QString& value) {
    key(k);
    body_.append(JsonString(value));
    return *this;
}

JsonObject& JsonObject::add(const QString& k, const char* value) { return add(k, QString::fromUtf8(value)); }

JsonObject& JsonObject::add(const QString& k, long long value) {
    key(k);
    body_.append(QString::number(value));
    return *this;
}

JsonObject& JsonObject::add(const QString& k, double value) {
    key(k);
    body_.append(std::isfinite(value) ? QString::number(value, 'g', 17) : QStringLiteral("null"));
    return *this;
}

JsonObject& JsonObject::addBool(const QString& k, bool value) {
    key(k);
    body_.append(value ? QLatin1String("true") : QLatin1String("false"));
    return *this;
}

JsonObject& JsonObject::addNull(const QString& k) {
    key(k);
    body_.append(QLatin1String("null"));
    return *this;
}

JsonObject& JsonObject::addStrings(const QString& k, const QStringList& values) {
    QStringList quoted;
    quoted.reserve(values.size());
    for (const QString& v : values) quoted.append(JsonString(v));
    return addRaw(k, JsonArray(quoted));
}

JsonObject& JsonObject::addRaw(const QString& k, const QString& json) {
    key(k);
    body_.append(json);
    return *this;
}

QString JsonArray(const QStringList& jsonValues) {
    return QStringLiteral("[") + jsonValues.join(QLatin1Char(',')) + QStringLiteral("]");
}

}  // namespace tavo::tool
