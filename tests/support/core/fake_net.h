#pragma once
// The download layer's test seam: while a FakeNet lives, every download
// control reads through a fake reader that the test answers by hand, in the
// order it chooses. Requests are recorded in the order they start; a reply
// to a request that its control has cancelled reaches nobody, as a late
// network reply would.

#include "platform/core/async_read.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <vector>

namespace tavo::test {

class FakeReader : public platform::AsyncReader {
public:
    explicit FakeReader(QStringList& started) : started_(started) {}
    QString Start(const QString& address) override {
        const QString scheme = QUrl(address).scheme();
        if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
            return QStringLiteral("Unsupported protocol: ") + scheme;
        address_ = address;
        started_.append(address);
        running_ = true;
        return {};
    }
    void Cancel() override { running_ = false; }
    bool Running() const override { return running_; }

    // The whole body at once, as a finished transfer gives it.
    void Reply(const QByteArray& body) {
        Q_EMIT Progress(platform::kBodyBegins, QString(), 0, body.size());
        Q_EMIT Progress(platform::kBodyEnd, QString(), body.size(), body.size());
        running_ = false;
        Q_EMIT Complete(body.size(), body);
    }
    void Fail(const QString& text) {
        running_ = false;
        Q_EMIT Progress(platform::kReadFailed, text, 0, 0);
    }
    const QString& address() const { return address_; }

private:
    QStringList& started_;
    QString address_;
    bool running_ = false;
};

class FakeNet {
public:
    FakeNet() {
        platform::SetAsyncReaderFactory([this] {
            auto reader = std::make_unique<FakeReader>(started_);
            readers_.emplace_back(reader.get());
            return reader;
        });
    }
    ~FakeNet() { platform::SetAsyncReaderFactory(nullptr); }
    FakeNet(const FakeNet&) = delete;
    FakeNet& operator=(const FakeNet&) = delete;

    // Every request that started, in order (a refused start is not one).
    int Count() const { return static_cast<int>(started_.size()); }
    // The latest request whose address contains `part`; null when none is
    // left (its control has dropped it).
    FakeReader* Latest(const QString& part = QString()) const {
        for (auto it = readers_.rbegin(); it != readers_.rend(); ++it)
            if (*it && !(*it)->address().isEmpty() && (*it)->address().contains(part)) return *it;
        return nullptr;
    }
    // Answers the latest request for `part`; false when there is none.
    bool Reply(const QString& part, const QByteArray& body) {
        FakeReader* r = Latest(part);
        if (r) r->Reply(body);
        return r != nullptr;
    }

private:
    QStringList started_;
    std::vector<QPointer<FakeReader>> readers_;
};

}  // namespace tavo::test
