#include "download/qel_down.h"

#include "platform/ansi_text.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace tavo {

namespace {

std::int32_t ClampToInt32(qint64 v) {
    return static_cast<std::int32_t>(std::clamp<qint64>(v, 0, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

QelDown::QelDown(QObject* parent) : QObject(parent) { ResetStatus(); }

QelDown::~QelDown() {
    // Destroyed while downloading: stop the read quietly, no event.
    download_.Cancel();
    StopReader();
}

void QelDown::ResetStatus() {
    fileSize_ = 0;
    bytesRead_ = 0;
    connectionAddress_.clear();
    cacheFile_.clear();
    redirectFile_.clear();
    mimeType_.clear();
    saved_ = false;
}

void QelDown::StopReader() {
    if (reader_) {
        reader_->disconnect(this);
        reader_->Cancel();
        // The reader may be inside one of its own notifications: delete later.
        reader_.release()->deleteLater();
    }
}

bool QelDown::BeginDownload(bool Wait) {
    if (downloading_ || fileURL_.isEmpty() || saveFileName_.isEmpty()) return false;

    StopReader();
    reader_ = platform::MakeAsyncReader();
    reader_->limits = limits_;
    connect(reader_.get(), &platform::AsyncReader::Progress, this, &QelDown::OnProgress);
    connect(reader_.get(), &platform::AsyncReader::Complete, this, &QelDown::OnComplete);
    download_.Hold(nextRequest_ != 0 ? nextRequest_ : NextRequestId());
    nextRequest_ = 0;
    downloading_ = true;
    ResetStatus();
    const QString startError = reader_->Start(fileURL_);
    if (!startError.isEmpty()) {
        downloading_ = false;
        StopReader();
        const RequestId mine = download_.Current();
        Q_EMIT DLError(kDLStartFailed, startError);
        Q_EMIT DLComplete(0, kDLStartFailed);
        Finish(mine, 0, kDLStartFailed);
        return false;
    }
    if (!Wait) return true;

    const RequestId mine = download_.Current();
    while (downloading_ && download_.Answers(mine)) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return saved_;
}

void QelDown::CancelDownload() {
    if (!downloading_) return;
    download_.Cancel();
    StopReader();
    percent_ = 0;
    Refresh();
    downloading_ = false;
    Q_EMIT DLCanceled();
}

void QelDown::Failure(std::int32_t code, const QString& text) {
    percent_ = 0;
    Refresh();
    downloading_ = false;
    const RequestId mine = download_.Current();
    Q_EMIT DLError(code, text);
    // Codes 1 and 3 finish after their DLComplete.
    if (code != kDLStartFailed && code != kDLZeroBytes) Finish(mine, 0, static_cast<std::int16_t>(code));
}

// The end of the download `mine`, unless a handler has already moved on to
// another one.
void QelDown::Finish(RequestId mine, std::int32_t bytes, std::int16_t error) {
    if (!download_.Take(mine)) return;
    downloading_ = false;
    Q_EMIT DLFinished(bytes, error);
    Q_EMIT DLEnded(mine, bytes, error);
}

void QelDown::OnProgress(int status, const QString& text, qint64 bytesRead, qint64 total) {
    if (!downloading_) return;
    switch (status) {
        case platform::kReadFailed:
            StopReader();
            Failure(kDLReadFailed, text);
            break;
        case platform::kConnecting:
            connectionAddress_ = text;
            Q_EMIT DLConnected(text);
            break;
        case platform::kRedirecting:
            redirectFile_ = text;
            if (failOnRedirect_) {
                StopReader();
                Failure(kDLRedirected, QStringLiteral("Redirected to ") + text);
            } else {
                Q_EMIT DLRedirect(text);
            }
            break;
        case platform::kBodyBegins:
            fileSize_ = ClampToInt32(total);
            Q_EMIT DLFileSize(fileSize_);
            Q_EMIT DLBeginDownload();
            break;
        case platform::kBodyData:
        case platform::kBodyEnd:
            percent_ = total >= 1 ? static_cast<float>(static_cast<double>(bytesRead) / static_cast<double>(total)) : 0.0f;
            bytesRead_ = ClampToInt32(bytesRead);
            Q_EMIT DLProgress(percent_, bytesRead_, ClampToInt32(total));
            break;
        case platform::kContentType:
            mimeType_ = text;
            Q_EMIT DLMIMEType(text);
            break;
        case platform::kCacheFile:
            cacheFile_ = text;
            Q_EMIT DLCacheFile(text);
            break;
        default:
            break;
    }
    Refresh();
}

void QelDown::OnComplete(qint64 bytesRead, const QByteArray& body) {
    if (!downloading_) return;
    const RequestId mine = download_.Current();
    if (bytesRead == 0) {
        Failure(kDLZeroBytes, QStringLiteral("Zero bytes retrieved"));
        Q_EMIT DLComplete(0, kDLZeroBytes);
        Finish(mine, 0, kDLZeroBytes);
        return;
    }
    // The file holds exactly the body, or keeps what it held: the bytes go to
    // a temporary file in the same folder, renamed over the target.
    QSaveFile file(saveFileName_);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.commit()) {
        const int number = static_cast<int>(file.error());
        file.cancelWriting();
        Failure(kDLSaveFailed, QString::number(number));
        return;
    }
    saved_ = true;
    Q_EMIT DLComplete(ClampToInt32(bytesRead), 0);
    // Only now is the control idle, unless a handler already started a new
    // download on it (after CancelDownload), which must keep running.
    Finish(mine, ClampToInt32(bytesRead), 0);
}

}  // namespace tavo
