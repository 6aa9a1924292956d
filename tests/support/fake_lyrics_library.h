#pragma once
// A synced-lyrics library on 127.0.0.1 for tests.
//
//   GET /api/get?track_name=&artist_name=&album_name=&duration=
//       the track whose title and artist equal the query's and whose
//       duration is within 2 s (when one is asked), else 404
//       {"code":404,"name":"TrackNotFound","message":"Failed to find specified track"}
//   GET /api/search?track_name=&artist_name=
//       every track whose title contains track_name (and artist equals
//       artist_name when given), as an array
//
// Knobs: a delay before every answer (a slow library), an oversized answer
// to every get (over the client's 1 MB limit), a fixed body for every
// search (hostile replies). Requests are recorded with their decoded
// parameters and headers.

#include "support/local_http_server.h"

#include <QString>

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tavo::test {

struct FakeTrack {
    std::string title, artist, album;
    double duration = 200;
    bool instrumental = false;
    std::string plain, synced;
};

struct FakeLibraryRequest {
    std::string path;
    std::map<std::string, std::string> params;
    std::string userAgent, client;
};

class FakeLyricsLibrary {
public:
    FakeLyricsLibrary();
    ~FakeLyricsLibrary();

    QString Base() const { return server_.Url(); }
    void Add(FakeTrack track);
    void SetDelay(std::chrono::milliseconds d);
    void SetOversized(bool on);
    void SetSearchBody(std::optional<std::string> body);
    std::vector<FakeLibraryRequest> Requests() const;
    // How many requests had this path ("/api/get", "/api/search").
    int Count(const std::string& path) const;
    // Stops answering (later requests are refused).
    void Stop() { server_.Stop(); }

private:
    void Record(const httplib::Request& req);
    void Wait();

    LocalHttpServer server_;
    mutable std::mutex mu_;
    std::vector<FakeTrack> tracks_;
    std::vector<FakeLibraryRequest> requests_;
    std::chrono::milliseconds delay_{0};
    bool oversized_ = false;
    std::optional<std::string> searchBody_;
};

}  // namespace tavo::test
