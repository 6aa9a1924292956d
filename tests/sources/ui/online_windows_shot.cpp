// Shows the windows of the open services against fakes on 127.0.0.1, for
// screenshots; runs until killed.
//   (no argument)  "电台目录" searching a fake directory, icons drawn here
//   --offline      the same with a closed directory: the station list
//   --lyrics       "搜索歌词" with a fake lyrics library
#include "lyrics/ui/lyrics_search_dialog.h"
#include "sources/ui/radio_directory_window.h"

#include "support/fake_lyrics_library.h"
#include "support/fake_radio_directory.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>

#include <clocale>
#include <cstring>

namespace {

QByteArray Icon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0xC8, 0x3A, 0x2E));
    p.setPen(Qt::NoPen);
    p.drawEllipse(2, 2, 28, 28);
    p.setBrush(Qt::white);
    p.drawRect(14, 8, 4, 16);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const bool offline = argc > 1 && std::strcmp(argv[1], "--offline") == 0;
    if (argc > 1 && std::strcmp(argv[1], "--lyrics") == 0) {
        tavo::test::FakeLyricsLibrary library;
        library.Add({"后来", "刘若英", "我等你", 341, false, "", "[00:20.00]后来"});
        library.Add({"后来", "刘若英", "Live 2010", 352, false, "", "[00:22.00]后来"});
        library.Add({"后来", "刘若英", "精选", 340, false, "后来", ""});
        library.Add({"后来 (伴奏)", "刘若英", "", 341, true, "", ""});
        tavo::test::TempDir cache;
        tavo::LyricsFinderOptions o;
        o.cacheFolder = cache.path();
        tavo::LyricsFinder finder(o);
        tavo::LyricsSearchDialog dialog(&finder, library.Base(), {QStringLiteral("后来 ┈ 刘若英")});
        dialog.move(40, 40);
        dialog.show();
        return app.exec();
    }
    tavo::test::FakeRadioDirectory fake(100);
    const char* names[] = {"晨光音乐台", "海风之声", "城市交通广播", "经典老歌台", "粤语金曲", "校园之声",
                           "夜空轻音乐", "新闻综合广播", "山城故事台", "宝岛流行乐"};
    const char* tags[] = {"流行,华语", "新闻,资讯", "交通", "怀旧,经典", "粤语,流行", "校园", "轻音乐", "新闻", "故事", "流行"};
    auto& stations = fake.Stations();
    for (size_t i = 0; i < stations.size(); ++i) {
        stations[i].name = std::string(names[i % 10]) + (i >= 10 ? " " + std::to_string(i / 10 + 1) : "");
        stations[i].tags = tags[i % 10];
        stations[i].codec = i % 3 == 0 ? "AAC" : "MP3";
        stations[i].bitrate = i % 3 == 0 ? 64 : 128;
        stations[i].votes = 500 + static_cast<int>(i) * 37 % 900;
        if (i % 4 != 3) stations[i].favicon = fake.Base().toStdString() + "/icon/" + std::to_string(i) + ".png";
    }
    fake.SetIcon(Icon().toStdString());

    tavo::test::TempDir dir;
    const auto radioFile = dir.Write("radio.txt",
                                     "演示 城市之声<|>http://127.0.0.1:17380/radio/1\r\n"
                                     "演示 夜色音乐<|>http://127.0.0.1:17380/radio/2\r\n");
    tavo::RadioDirectoryOptions o;
    o.base = offline ? QStringLiteral("http://127.0.0.1:1") : fake.Base();
    o.shuffle = [](QStringList&) {};
    tavo::RadioDirectory directory(o);
    tavo::RadioDirectoryWindow window(&directory, radioFile);
    window.move(40, 40);
    window.show();
    window.StartSearch();
    return app.exec();
}
