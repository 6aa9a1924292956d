#pragma once
// QelDown: the download control through which every web request goes. The
// caller sets FileURL and SaveFileName, calls BeginDownload and acts on
// DLComplete: Error 0 means the file now holds exactly the body.
//
// Events, as a download gives them: DLConnected, DLMIMEType, DLFileSize,
// DLBeginDownload, DLProgress..., DLComplete. A failure raises DLError with
// a code (below); codes 1 and 3 are followed by DLComplete with that code,
// codes 2, 4 and 99 are not. CancelDownload raises DLCanceled.
//
// DLFinished is the one way to learn how a download ended: it is raised
// exactly once for every started download that ends by itself, as its last
// event, with Error 0 (the file holds the body) or the failure's code,
// whether or not a DLComplete came before it. A cancelled download and a
// refused BeginDownload raise none. The control is idle when it is raised,
// so its handler may start the next download at once. (A DLComplete handler
// that starts a new download takes the old one's DLFinished with it.)
//
// Every download has an identity (platform/request_slot.h): the caller's,
// given with setRequest() before BeginDownload, or a fresh one. DLEnded
// carries it back with DLFinished's values, raised right after DLFinished,
// so that whoever started the download can tell its end from the end of an
// earlier one.
//
// Two states: idle and downloading. While downloading, BeginDownload is
// refused. Everything runs on the UI thread.

#include "platform/core/async_read.h"
#include "platform/request_slot.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

namespace tavo {

// DLError codes.
enum QelDownError : std::int32_t {
    kDLStartFailed = 1,   // the read could not start; DLComplete(0, 1) follows
    kDLRedirected = 2,    // "Redirected to " + address; no DLComplete
    kDLZeroBytes = 3,     // "Zero bytes retrieved"; DLComplete(0, 3) follows
    kDLSaveFailed = 4,    // the body could not be written; no DLComplete
    kDLReadFailed = 99,   // the read failed (text of the failure); no DLComplete
};

class QelDown : public QObject {
    Q_OBJECT
public:
    explicit QelDown(QObject* parent = nullptr);
    ~QelDown() override;

    // Read-only status, reset at every BeginDownload.
    std::int32_t BytesRead() const { return bytesRead_; }
    QString CacheFile() const { return cacheFile_; }
    QString ConnectionAddress() const { return connectionAddress_; }
    QString MIMEType() const { return mimeType_; }
    QString RedirectFile() const { return redirectFile_; }
    std::int32_t FileSize() const { return fileSize_; }
    bool Downloading() const { return downloading_; }
    float Percent() const { return percent_; }
    bool Saved() const { return saved_; }

    void Refresh() {}  // the control draws nothing

    QString FileURL() const { return fileURL_; }
    void setFileURL(const QString& url) { fileURL_ = url; }
    QString SaveFileName() const { return saveFileName_; }
    void setSaveFileName(const QString& file) { saveFileName_ = file; }
    bool FailOnRedirect() const { return failOnRedirect_; }
    void setFailOnRedirect(bool v) { failOnRedirect_ = v; }
    // Kept for compatibility of saved settings; reads as (not FailOnRedirect)
    // and the stored value. Nothing depends on it.
    bool RenameOnRedirect() const { return !failOnRedirect_ && renameOnRedirect_; }
    void setRenameOnRedirect(bool v) { renameOnRedirect_ = v; }
    bool ShowProgress() const { return showProgress_; }
    void setShowProgress(bool v) { showProgress_ = v; }

    // The identity the next BeginDownload gives its download (0, the
    // default and what every BeginDownload leaves behind: a fresh one).
    void setRequest(RequestId request) { nextRequest_ = request; }
    // The identity of the download running (0 when idle).
    RequestId Request() const { return download_.Current(); }

    // Starts the download. False (and nothing else happens) while a download
    // runs or when FileURL or SaveFileName is empty; false after DLError 1 and
    // DLComplete(0, 1) when the read cannot start. With Wait, processes
    // events until the download ends and returns whether the file was saved.
    bool BeginDownload(bool Wait = false);
    // Stops a running download and raises DLCanceled; does nothing when idle.
    void CancelDownload();

    // Limits of the transfer: no progress for this long, or a body over this
    // size, fails the download with DLError 99.
    void setStallTimeoutMs(int ms) { limits_.stallMs = ms; }
    void setMaxBodyBytes(qint64 bytes) { limits_.maxBodyBytes = bytes; }

Q_SIGNALS:
    void DLProgress(float Percent, std::int32_t BytesRead, std::int32_t TotalBytes);
    void DLCanceled();
    void DLError(std::int32_t E, const QString& Error);
    void DLComplete(std::int32_t Bytes, std::int16_t Error);
    void DLFinished(std::int32_t Bytes, std::int16_t Error);
    void DLEnded(RequestId request, std::int32_t Bytes, std::int16_t Error);
    void DLConnected(const QString& ConnAddr);
    void DLRedirect(const QString& ConnAddr);
    void DLCacheFile(const QString& filename);
    void DLMIMEType(const QString& MIMEType);
    void DLFileSize(std::int32_t Bytes);
    void DLBeginDownload();

private:
    void ResetStatus();
    void OnProgress(int status, const QString& text, qint64 bytesRead, qint64 total);
    void OnComplete(qint64 bytesRead, const QByteArray& body);
    void Failure(std::int32_t code, const QString& text);
    void Finish(RequestId mine, std::int32_t bytes, std::int16_t error);
    void StopReader();

    QString fileURL_;
    QString saveFileName_;
    bool failOnRedirect_ = true;
    bool renameOnRedirect_ = true;
    bool showProgress_ = true;

    bool downloading_ = false;
    float percent_ = 0;
    bool saved_ = false;
    std::int32_t fileSize_ = 0;
    std::int32_t bytesRead_ = 0;
    QString connectionAddress_;
    QString cacheFile_;
    QString redirectFile_;
    QString mimeType_;

    // The download running: every BeginDownload replaces it and every stop
    // empties it, so that the tail of an old download never touches a newer
    // one.
    RequestSlot download_;
    RequestId nextRequest_ = 0;
    platform::AsyncReadLimits limits_;
    std::unique_ptr<platform::AsyncReader> reader_;
};

}  // namespace tavo
