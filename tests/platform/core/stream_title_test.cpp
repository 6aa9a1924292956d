// What a radio stream says it plays: an ICY stream on 127.0.0.1 (a WAV tone
// with "icy-metaint" metadata blocks) played through libmpv with ao=null.
#include "platform/core/media_player.h"

#include "platform/codepage.h"
#include "support/event_loop.h"
#include "support/local_http_server.h"
#include "support/wav_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

namespace tavo::platform {
namespace {

using test::WaitFor;

constexpr size_t kMetaInt = 4000;

// One ICY metadata block: a length byte (in 16-byte units), then the text
// padded with zeros.
std::string MetaBlock(const std::string& text) {
    std::string body = text;
    body.resize((body.size() + 15) / 16 * 16, '\0');
    return std::string(1, static_cast<char>(body.size() / 16)) + body;
}

// The stream: `audio` cut into kMetaInt pieces, each followed by a block
// naming `titles[piece / piecesPerTitle]` (a block without text when the
// title has not changed, as stations send them).
std::string IcyStream(const std::string& audio, const std::vector<std::string>& titles, size_t piecesPerTitle) {
    std::string out;
    std::string last;
    for (size_t at = 0, piece = 0; at < audio.size(); at += kMetaInt, ++piece) {
        out += audio.substr(at, kMetaInt);
        const std::string& title = titles[std::min(titles.size() - 1, piece / piecesPerTitle)];
        if (title != last) {
            out += MetaBlock("StreamTitle='" + title + "';StreamUrl='';");
            last = title;
        } else {
            out += std::string(1, '\0');
        }
    }
    return out;
}

TEST(StreamTitle, ATitleInCodePage936IsReadAsChinese) {
    test::LocalHttpServer server;
    const QByteArray gbk = platform::EncodeCp936(QStringLiteral("张学友 - 吻别"));
    const std::string stream = IcyStream(test::MakeWav(3.0), {gbk.toStdString()}, 100);
    server.server().Get("/live", [&](const httplib::Request&, httplib::Response& res) {
        res.set_header("icy-metaint", std::to_string(kMetaInt));
        res.set_content(stream, "audio/wav");
    });
    server.Start();
    MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    MpvMediaPlayer player(options);
    ASSERT_TRUE(player.Available());
    player.setURL(server.Url("/live"));
    EXPECT_TRUE(WaitFor([&] { return !player.streamTitle().isEmpty(); }, 5000));
    EXPECT_EQ(player.streamTitle(), QStringLiteral("张学友 - 吻别"));
    player.controls().stop();
    server.Stop();
}

TEST(StreamTitle, IcyTitleAndNameAreReportedAndFollowTheStream) {
    test::LocalHttpServer server;
    std::atomic<bool> askedForMetadata{false};
    const std::string stream = IcyStream(test::MakeWav(6.0), {"歌手甲 - 第一首", "歌手乙 - 第二首"}, 6);
    server.server().Get("/live", [&](const httplib::Request& req, httplib::Response& res) {
        askedForMetadata = req.get_header_value("Icy-MetaData") == "1";
        res.set_header("icy-metaint", std::to_string(kMetaInt));
        res.set_header("icy-name", "测试电台");
        // Paced like a live stream: one piece every 25 ms.
        res.set_chunked_content_provider("audio/wav", [&, sent = size_t{0}](size_t, httplib::DataSink& sink) mutable {
            if (sent >= stream.size()) {
                sink.done();
                return true;
            }
            const size_t n = std::min(kMetaInt, stream.size() - sent);
            if (!server.Sleep(std::chrono::milliseconds(25))) return false;
            sink.write(stream.data() + sent, n);
            sent += n;
            return true;
        });
    });
    server.Start();

    MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    MpvMediaPlayer player(options);
    ASSERT_TRUE(player.Available());
    std::vector<std::pair<QString, QString>> changes;
    QObject::connect(&player, &MediaPlayer::StreamTitleChange,
                     [&](const QString& title, const QString& name) { changes.emplace_back(title, name); });
    player.setURL(server.Url("/live"));
    ASSERT_TRUE(WaitFor([&] { return player.streamTitle() == QStringLiteral("歌手乙 - 第二首"); }, 8000))
        << player.streamTitle().toStdString() << " / " << player.status().toStdString();
    EXPECT_TRUE(askedForMetadata);
    EXPECT_EQ(player.streamName(), QStringLiteral("测试电台"));
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), std::make_pair(QStringLiteral("歌手乙 - 第二首"), QStringLiteral("测试电台")));
    // Each change is reported once.
    for (size_t i = 1; i < changes.size(); ++i) EXPECT_NE(changes[i], changes[i - 1]);

    // A new address starts without the old stream's title.
    player.setURL(server.Url("/nothing-here"));
    EXPECT_TRUE(player.streamTitle().isEmpty());
    EXPECT_TRUE(player.streamName().isEmpty());
    EXPECT_EQ(changes.back(), std::make_pair(QString(), QString()));
    player.controls().stop();
    server.Stop();
}

}  // namespace
}  // namespace tavo::platform
